#pragma once
// Where long operations report: status text, log lines and a progress bar. Each sink does
// nothing unless a window, the command line or a test gives it somewhere to go.
#include <QString>

namespace quorbin {

class StatusSink {
public:
    virtual ~StatusSink() = default;
    virtual void setStatus(const QString&) {}
};

class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void appendLine(const QString&) {}
};

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void setPosition(int) {}
    virtual void setMarquee(bool) {}
};

struct RestoreReporter {
    StatusSink& status;
    LogSink& log;
    ProgressSink& progress;
};

// Sinks that drop everything, for callers that have nowhere to report.
StatusSink& noStatus();
ProgressSink& noProgress();

}  // namespace quorbin
