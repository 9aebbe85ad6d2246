#include "platform/reporter.h"

namespace quorbin {

StatusSink& noStatus()
{
    static StatusSink sink;
    return sink;
}

LogSink& noLog()
{
    static LogSink sink;
    return sink;
}

ProgressSink& noProgress()
{
    static ProgressSink sink;
    return sink;
}

}  // namespace quorbin
