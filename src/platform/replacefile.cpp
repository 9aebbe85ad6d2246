#include "platform/replacefile.h"

#include "platform/files.h"
#include "platform/scratchfiles.h"
#include "platform/winpath.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorbin::platform {

ReplacementFile::ReplacementFile(const QString& target) : target_(target)
{
    const QString directory = directoryPart(absolutePath(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate =
            directory + ".~qb" + QString::number(QRandomGenerator::global()->generate(), 16) + ".part";
        const int fd = open(toHostPath(candidate).toLocal8Bit().constData(),
                            O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            path_ = candidate;
            trackScratchFile(toHostPath(path_));
            file_.open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle);
            return;
        }
        if (errno != EEXIST)
            return;
    }
}

ReplacementFile::~ReplacementFile()
{
    file_.close();
    if (!committed_ && !path_.isEmpty())
        removeFile(path_);
    if (!path_.isEmpty())
        untrackScratchFile(toHostPath(path_));
}

bool ReplacementFile::commit()
{
    if (!file_.isOpen())
        return false;
    // The replacement keeps the permissions of the file it replaces (and stays writable for
    // its owner), so a private file does not become readable by others.
    struct stat old {};
    const QByteArray target = toHostPath(target_).toLocal8Bit();
    if (stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        fchmod(file_.handle(), (old.st_mode & 07777) | S_IWUSR);
    const bool flushed = file_.flush();
    file_.close();
    if (!flushed)
        return false;
    if (std::rename(toHostPath(path_).toLocal8Bit().constData(), target.constData()) != 0)
        return false;
    committed_ = true;
    return true;
}

}  // namespace quorbin::platform
