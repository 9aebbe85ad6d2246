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
    // A bar in percent steps, or its busy animation, for work without countable units.
    virtual void setPosition(int) {}
    virtual void setMarquee(bool) {}
    // A job's progress: its totals when known (else 0), what is done so far, the item in hand.
    virtual void started(qint64 /*files*/, qint64 /*bytes*/) {}
    virtual void advanced(qint64 /*filesDone*/, qint64 /*bytesDone*/) {}
    virtual void item(const QString&) {}
    virtual void finished() {}
};

struct RestoreReporter {
    StatusSink& status;
    LogSink& log;
    ProgressSink& progress;
};

// Sinks that drop everything, for callers that have nowhere to report.
StatusSink& noStatus();
LogSink& noLog();
ProgressSink& noProgress();

}  // namespace quorbin
