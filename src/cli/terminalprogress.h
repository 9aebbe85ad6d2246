#pragma once
// A job's progress as one line on standard error, shown only when that is a terminal. The line
// is cleared before every log line and when the job ends, so neither runs into it.
#include "platform/reporter.h"

#include <QElapsedTimer>

namespace quorbin::cli {

class TerminalProgress : public ProgressSink {
public:
    TerminalProgress();
    ~TerminalProgress() override;

    void started(qint64 files, qint64 bytes) override;
    void advanced(qint64 filesDone, qint64 bytesDone) override;
    void finished() override;

    // Takes the line away until the next report; call before printing anything.
    void clearLine();
    // The same for whichever progress line is on the terminal, for a question or a message.
    static void clearActiveLine();
    // Whether there is a terminal to show it on.
    bool enabled() const { return enabled_; }

private:
    void show();

    const bool enabled_;
    qint64 totalFiles_ = 0;
    qint64 totalBytes_ = 0;
    qint64 files_ = 0;
    qint64 bytes_ = 0;
    QElapsedTimer clock_;
    qint64 lastShown_ = -1000;
    bool shown_ = false;
};

// Log lines on standard output exactly as the log box shows them, with the progress line
// cleared first; remembers whether an ERROR line went by.
class TerminalLog : public LogSink {
public:
    explicit TerminalLog(TerminalProgress& progress) : progress_(progress) {}
    void appendLine(const QString& line) override;
    bool sawError = false;

private:
    TerminalProgress& progress_;
};

}  // namespace quorbin::cli
