#include "platform/replacefile.h"

#include "platform/files.h"
#include "platform/hostnames.h"
#include "platform/scratchfiles.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorbin::platform {

namespace {

// The replacement keeps the owner, group and permissions of the file it replaces (and stays
// writable for its owner), so a private file neither becomes readable by others nor, when
// root restores it, root's own. Owner and group are kept where the process may set them.
// Returns whether there is such a file.
bool takePermissionsOf(const QByteArray& hostTarget, int fd)
{
    struct stat old {};
    if (stat(hostTarget.constData(), &old) != 0 || !S_ISREG(old.st_mode))
        return false;
    if (fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)fchown(fd, uid_t(-1), old.st_gid);  // a member of the group may still keep that
    fchmod(fd, (old.st_mode & 07777) | S_IWUSR);
    return true;
}

// Read without changing it: umask() can only be asked by setting it, which would leave files
// that other threads create meanwhile open to everyone.
mode_t processUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Umask:"))
                return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
    }
    return 022;
}

}  // namespace

ReplacementFile::ReplacementFile(const QString& target) : target_(target)
{
    const QString directory = directoryPart(absolutePath(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate =
            directory + ".~qb" + QString::number(QRandomGenerator::global()->generate(), 16) + ".part";
        const int fd = open(hostBytes(toHostPath(candidate)).constData(),
                            O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            path_ = candidate;
            scratchPlace_ = trackScratchFile(toHostPath(path_));
            fd_ = fd;
            return;
        }
        if (errno == ENOENT && attempt == 0 && createFolders(directory))
            continue;  // the folder went away since it was made
        if (errno != EEXIST) {
            errorNumber_ = errno;
            return;
        }
    }
}

ReplacementFile::~ReplacementFile()
{
    if (fd_ >= 0)
        close(fd_);
    if (!committed_ && !path_.isEmpty())
        removeFile(path_);
    untrackScratchFile(scratchPlace_);
}

bool ReplacementFile::commit()
{
    if (fd_ < 0)
        return false;
    const QByteArray target = hostBytes(toHostPath(target_));
    const bool replacing = takePermissionsOf(target, fd_);
    // The old content is at stake: the new one is on the disk before it takes the old one's
    // place. A new file risks nothing, and a walk of thousands would pay for each.
    const bool flushed = !replacing || fdatasync(fd_) == 0;
    errorNumber_ = flushed ? 0 : errno;
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    if (!closed && flushed)
        errorNumber_ = errno;  // a network file system may tell of a failed write only now
    if (!flushed || !closed)
        return false;
    if (std::rename(hostBytes(toHostPath(path_)).constData(), target.constData()) != 0) {
        errorNumber_ = errno;
        return false;
    }
    committed_ = true;
    return true;
}

std::optional<QString> whyNotReplaceable(const QString& target)
{
    const auto existing = attributes(target);
    if (!existing)
        return {};
    if (existing->directory)
        return QCoreApplication::translate("Platform", "ist ein Verzeichnis");
    if (existing->readOnly && !existing->symlink)
        return QCoreApplication::translate("Platform", "schreibgeschützt");
    return {};
}

bool ReplacementFile::write(const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            errorNumber_ = written < 0 ? errno : ENOSPC;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

JobResult targetNotWritable(const QString& reason, const QString& target)
{
    return JobResult::failure(ErrorKind::TargetNotWritable,
                              QCoreApplication::translate("Platform", "Ziel nicht beschreibbar (%1)").arg(reason),
                              hostPathOf(target));
}

QString ReplacementFile::errorString() const
{
    return systemReason(errorNumber_ != 0 ? errorNumber_ : EIO);
}

bool renameReplacing(const QString& finished, const QString& target)
{
    const QByteArray from = hostBytes(toHostPath(finished));
    const QByteArray to = hostBytes(toHostPath(target));
    const int fd = open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    fchmod(fd, 0666 & ~processUmask());
    takePermissionsOf(to, fd);
    close(fd);
    return std::rename(from.constData(), to.constData()) == 0;
}

}  // namespace quorbin::platform
