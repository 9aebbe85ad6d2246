#include "cli/progressline.h"

#include <cstdio>
#include <unistd.h>

namespace quorbin::cli {

ProgressLine::ProgressLine(const QString& startDirectory) : enabled_(isatty(STDERR_FILENO) != 0)
{
    if (enabled_)
        total_ = CountStoredFiles(startDirectory);
    clock_.start();
}

void ProgressLine::fileDone(qint64 bytes)
{
    ++done_.files;
    done_.bytes += std::max<qint64>(0, bytes);
    if (clock_.elapsed() - lastShown_ >= 200)
        show();
}

void ProgressLine::finish()
{
    if (!enabled_)
        return;
    show();
    std::fputc('\n', stderr);
}

void ProgressLine::show()
{
    if (!enabled_)
        return;
    lastShown_ = clock_.elapsed();
    const double seconds = std::max<double>(0.001, lastShown_ / 1000.0);
    const double rate = done_.bytes / seconds;
    const qint64 remaining = std::max<qint64>(0, total_.bytes - done_.bytes);
    const long left = rate > 0 ? long(remaining / rate) : 0;
    std::fprintf(stderr, "\r%lld/%lld Dateien, %.1f/%.1f MiB, %.1f MiB/s, noch %ld:%02ld   ", done_.files,
                 total_.files, done_.bytes / 1048576.0, total_.bytes / 1048576.0, rate / 1048576.0, left / 60,
                 left % 60);
    std::fflush(stderr);
}

}  // namespace quorbin::cli
