#pragma once
// The windows' reporter sinks: a status bar panel, a log box and a progress bar.
#include "platform/reporter.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;

namespace quorbin::app {

class StatusPanelSink : public StatusSink {
public:
    explicit StatusPanelSink(QLabel* panel) : panel_(panel) {}
    void setStatus(const QString& text) override;

private:
    QLabel* panel_;
};

class MemoLogSink : public LogSink {
public:
    explicit MemoLogSink(QPlainTextEdit* memo) : memo_(memo) {}
    void appendLine(const QString& line) override;

private:
    QPlainTextEdit* memo_;
};

class ProgressBarSink : public ProgressSink {
public:
    explicit ProgressBarSink(QProgressBar* bar) : bar_(bar) {}
    void setPosition(int position) override;
    void setMarquee(bool on) override;

private:
    QProgressBar* bar_;
};

}  // namespace quorbin::app
