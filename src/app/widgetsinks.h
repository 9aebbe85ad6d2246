#pragma once
// The windows' reporter sinks: a status bar panel, a log box and a progress bar.
#include "platform/reporter.h"

#include <QElapsedTimer>

class QLabel;
class QLineEdit;
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

// A job's progress on the bar: by files when it has several, else by bytes; with the counts
// in the two fields beside it when there are any, and the time left after the amount.
class ProgressBarSink : public ProgressSink {
public:
    explicit ProgressBarSink(QProgressBar* bar, QLineEdit* countField = nullptr, QLineEdit* amountField = nullptr)
        : bar_(bar), countField_(countField), amountField_(amountField)
    {
    }
    void setPosition(int position) override;
    void setMarquee(bool on) override;
    void started(qint64 files, qint64 bytes) override;
    void advanced(qint64 filesDone, qint64 bytesDone) override;
    void finished() override;

private:
    QProgressBar* bar_;
    QLineEdit* countField_;
    QLineEdit* amountField_;
    qint64 files_ = 0;
    qint64 bytes_ = 0;
    QElapsedTimer clock_;  // since started, for the time left
};

}  // namespace quorbin::app
