#pragma once
// A long operation as a job: it runs on whatever thread its caller picks (a window's worker,
// the command line's main thread), stops at its own checks when its stop token is set, reports
// to sinks that do nothing by default, and ends with a result that names the cause.
#include "platform/reporter.h"

#include <QString>
#include <stop_token>

namespace quorbin {

enum class ErrorKind {
    None,
    NoKey,              // an enciphered container and no key given
    WrongKey,           // the key does not open the container
    Damaged,            // the container's data or checksum is wrong
    DamagedOrWrongKey,  // an enciphered container whose data fails before any came out
    Truncated,          // the container ends before its stream does (or is empty)
    SourceUnreadable,   // missing, unreadable, or no regular file
    TargetNotWritable,  // with the system's reason
    Cancelled,
    Network,            // with the server's reply
    Refused,            // the request itself cannot be carried out (bad path, target in the store)
};

struct JobResult {
    ErrorKind kind = ErrorKind::None;
    QString message;  // the cause, in the user's words; for a success, a note or nothing
    QString path;     // the host path involved, if any

    bool ok() const { return kind == ErrorKind::None; }
    static JobResult success() { return {}; }
    static JobResult failure(ErrorKind kind, const QString& message, const QString& path = QString())
    {
        return JobResult{kind, message, path};
    }
    static JobResult cancelled();
};

// "cause: path", or the cause alone.
QString describe(const JobResult& result);

// What a running job is handed: where to report, and when to stop.
struct JobContext {
    std::stop_token stop;
    RestoreReporter report;

    bool stopRequested() const { return stop.stop_requested(); }
};

// The context of a job that nobody cancels and nobody watches.
JobContext quietContext();

class Job {
public:
    virtual ~Job() = default;
    virtual JobResult run(const JobContext& context) = 0;
};

}  // namespace quorbin
