#include "app/widgetsinks.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>

namespace quorbin::app {

void StatusPanelSink::setStatus(const QString& text) { panel_->setText(text); }

void MemoLogSink::appendLine(const QString& line) { memo_->appendPlainText(line); }

void ProgressBarSink::setPosition(int position)
{
    if (bar_->maximum() == 0)
        bar_->setRange(0, 100);
    bar_->setValue(position);
}

// A bar without range shows the busy animation.
void ProgressBarSink::setMarquee(bool on) { bar_->setRange(0, on ? 0 : 100); }

}  // namespace quorbin::app
