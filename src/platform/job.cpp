#include "platform/job.h"

namespace quorbin {

QString describe(const JobResult& result)
{
    return result.path.isEmpty() ? result.message : result.message + QStringLiteral(": ") + result.path;
}

JobContext quietContext()
{
    return JobContext{std::stop_token(), RestoreReporter{noStatus(), noLog(), noProgress()}};
}

}  // namespace quorbin
