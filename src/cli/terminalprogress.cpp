#include "cli/terminalprogress.h"

#include "cli/arguments.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

namespace quorbin::cli {

namespace {

TerminalProgress* active = nullptr;

// One decimal as the C library writes it for the locale, as the line always showed it.
QString mebibytes(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return QString::fromLocal8Bit(text);
}

}  // namespace

TerminalProgress::TerminalProgress() : enabled_(isatty(STDERR_FILENO) != 0)
{
    clock_.start();
    active = this;
}

TerminalProgress::~TerminalProgress()
{
    clearLine();
    if (active == this)
        active = nullptr;
}

void TerminalProgress::clearActiveLine()
{
    if (active)
        active->clearLine();
}

void TerminalProgress::started(qint64 files, qint64 bytes)
{
    totalFiles_ = files;
    totalBytes_ = bytes;
    clock_.restart();
}

void TerminalProgress::advanced(qint64 filesDone, qint64 bytesDone)
{
    files_ = filesDone;
    bytes_ = bytesDone;
    if (clock_.elapsed() - lastShown_ >= 200)
        show();
}

void TerminalProgress::finished() { clearLine(); }

void TerminalProgress::clearLine()
{
    if (!shown_)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    shown_ = false;
}

void TerminalProgress::show()
{
    if (!enabled_)
        return;
    lastShown_ = clock_.elapsed();
    const double seconds = std::max<double>(0.001, lastShown_ / 1000.0);
    const double rate = bytes_ / seconds;
    const qint64 remaining = std::max<qint64>(0, totalBytes_ - bytes_);
    constexpr double kMiB = 1048576.0;
    // Before the first bytes, and in the first second, there is no pace to tell the time left by.
    const long left = rate > 0 ? long(remaining / rate) : 0;
    const QString timeLeft = bytes_ > 0 && seconds >= 1 ? QString::asprintf("%ld:%02ld", left / 60, left % 60)
                                                        : QStringLiteral("?");
    const QString line =
        totalFiles_ > 1
            ? QCoreApplication::translate("Cli", "%1/%2 Dateien, %3/%4 MiB, %5 MiB/s, noch %6")
                  .arg(QString::number(files_), QString::number(totalFiles_), mebibytes(bytes_ / kMiB),
                       mebibytes(totalBytes_ / kMiB), mebibytes(rate / kMiB), timeLeft)
            : QCoreApplication::translate("Cli", "%1/%2 MiB, %3 MiB/s, noch %4")
                  .arg(mebibytes(bytes_ / kMiB), mebibytes(totalBytes_ / kMiB), mebibytes(rate / kMiB), timeLeft);
    std::fputs("\r\033[K", stderr);
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    shown_ = true;
}

void TerminalLog::appendLine(const QString& line)
{
    sawError = sawError || line.startsWith(QStringLiteral("ERROR *****"));
    progress_.clearLine();
    printRecord(line);
}

}  // namespace quorbin::cli
