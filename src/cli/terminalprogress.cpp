#include "cli/terminalprogress.h"

#include "cli/arguments.h"

#include <cstdio>
#include <unistd.h>

namespace quorbin::cli {

namespace {

TerminalProgress* active = nullptr;

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
    const long left = rate > 0 ? long(remaining / rate) : 0;
    constexpr double kMiB = 1048576.0;
    if (totalFiles_ > 1)
        std::fprintf(stderr, "\r\033[K%lld/%lld Dateien, %.1f/%.1f MiB, %.1f MiB/s, noch %ld:%02ld", files_, totalFiles_,
                     bytes_ / kMiB, totalBytes_ / kMiB, rate / kMiB, left / 60, left % 60);
    else
        std::fprintf(stderr, "\r\033[K%.1f/%.1f MiB, %.1f MiB/s, noch %ld:%02ld", bytes_ / kMiB, totalBytes_ / kMiB,
                     rate / kMiB, left / 60, left % 60);
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
