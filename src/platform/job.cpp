#include "platform/job.h"

#include <QCoreApplication>

namespace quorbin {

QString describe(const JobResult& result)
{
    return result.path.isEmpty() ? result.message : result.message + QStringLiteral(": ") + result.path;
}

JobResult JobResult::cancelled()
{
    return failure(ErrorKind::Cancelled, QCoreApplication::translate("Platform", "abgebrochen"));
}

JobContext quietContext()
{
    return JobContext{std::stop_token(), RestoreReporter{noStatus(), noLog(), noProgress()}};
}

}  // namespace quorbin
