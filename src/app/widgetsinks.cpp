#include "app/widgetsinks.h"

#include "platform/datetime.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
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

namespace {

constexpr int kBarSteps = 1000;

QString mebibytes(qint64 bytes) { return QString::number(bytes / 1048576.0, 'f', 1); }

}  // namespace

void ProgressBarSink::started(qint64 files, qint64 bytes)
{
    files_ = files;
    bytes_ = bytes;
    // Without totals the bar can only say that something runs.
    bar_->setRange(0, files > 1 || bytes > 0 ? kBarSteps : 0);
    bar_->setValue(0);
    clock_.start();
}

void ProgressBarSink::advanced(qint64 filesDone, qint64 bytesDone)
{
    double fraction = 0;
    if (files_ > 1)
        fraction = double(filesDone) / files_;
    else if (bytes_ > 0)
        fraction = double(bytesDone) / bytes_;
    if (bar_->maximum() > 0)
        bar_->setValue(int(std::clamp(fraction, 0.0, 1.0) * kBarSteps));
    if (countField_ && files_ > 1)
        countField_->setText(QCoreApplication::translate("App", "%1 von %2 Dateien").arg(filesDone).arg(files_));
    if (amountField_) {
        const QString left = platform::timeLeftText(bytes_ > 0 ? double(bytesDone) / bytes_ : fraction,
                                                    clock_.isValid() ? clock_.elapsed() / 1000.0 : 0);
        const QString amount =
            QCoreApplication::translate("App", "%1 von %2 MB").arg(mebibytes(bytesDone), mebibytes(bytes_));
        amountField_->setText(left.isEmpty() ? amount : amount + QStringLiteral(", ") + left);
    }
}

void ProgressBarSink::finished()
{
    bar_->setRange(0, 100);
    bar_->setValue(0);
    if (countField_)
        countField_->clear();
    if (amountField_)
        amountField_->clear();
}

}  // namespace quorbin::app
