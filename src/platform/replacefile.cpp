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
// Returns whether there is such a file. A link there is replaced, not what it points to: its
// permissions are not the link's to give (a link to a set-user-ID program would make one).
bool takePermissionsOf(const QByteArray& hostTarget, int fd)
{
    struct stat old {};
    if (lstat(hostTarget.constData(), &old) != 0 || !S_ISREG(old.st_mode))
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

// A file made without a name needs the process's own /proc to be given one (linkat through
// /proc/self/fd), and a file system that makes such files.
bool canLinkUnnamedFiles()
{
    static const bool can = access("/proc/self/fd", X_OK) == 0;
    return can;
}

QString partName(const QString& directory)
{
    return directory + ".~qb" + QString::number(QRandomGenerator::global()->generate(), 16) + ".part";
}

QByteArray procPath(int fd) { return "/proc/self/fd/" + QByteArray::number(fd); }

}  // namespace

ReplacementFile::ReplacementFile(const QString& target) : target_(target)
{
    const QString directory = directoryPart(absolutePath(target));
    // Unnamed until it is complete: nothing half-written ever shows in the folder, and a
    // process that dies leaves nothing behind.
    if (canLinkUnnamedFiles()) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            fd_ = open(hostBytes(toHostPath(directory)).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
            if (fd_ >= 0)
                return;
            errorNumber_ = errno;
            if (errorNumber_ != ENOENT || attempt > 0 || !createFolders(directory))
                break;  // the folder went away since it was made: once more
        }
        if (errorNumber_ != EOPNOTSUPP && errorNumber_ != EISDIR && errorNumber_ != EINVAL)
            return;
        errorNumber_ = 0;  // no such files here: a named one instead
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = partName(directory);
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

bool ReplacementFile::setLastWriteTime(const QDateTime& localTime)
{
    return fd_ >= 0 && platform::setLastWriteTime(fd_, localTime);
}

bool ReplacementFile::commit()
{
    if (fd_ < 0)
        return false;
    const QByteArray target = hostBytes(toHostPath(target_));
    // A new file risks nothing: an unnamed one is linked in as it is, and a walk of thousands
    // pays for no flush. Should a file have taken the name meanwhile, it is replaced as below.
    if (path_.isEmpty() && linkat(AT_FDCWD, procPath(fd_).constData(), AT_FDCWD, target.constData(),
                                  AT_SYMLINK_FOLLOW) == 0) {
        struct stat linked {};
        fstat(fd_, &linked);
        if (closeAfterCommit()) {
            committed_ = true;
            return true;
        }
        // A file system that tells of a failed write only at the close: the name goes again,
        // as long as it is still this file's.
        struct stat there {};
        if (lstat(target.constData(), &there) == 0 && there.st_dev == linked.st_dev && there.st_ino == linked.st_ino)
            unlink(target.constData());
        return false;
    }
    if (path_.isEmpty() && errno != EEXIST) {
        errorNumber_ = errno;
        return false;
    }
    const bool replacing = takePermissionsOf(target, fd_);
    // The old content is at stake: the new one is on the disk before it takes the old one's
    // place.
    if (replacing && fdatasync(fd_) != 0) {
        errorNumber_ = errno;
        return false;
    }
    if (path_.isEmpty() && !nameUnnamedFile())
        return false;
    if (!closeAfterCommit())
        return false;  // a network file system may tell of a failed write only now
    if (std::rename(hostBytes(toHostPath(path_)).constData(), target.constData()) != 0) {
        errorNumber_ = errno;
        return false;
    }
    committed_ = true;
    return true;
}

// Gives the unnamed file a fresh name beside the target, to be renamed over it.
bool ReplacementFile::nameUnnamedFile()
{
    const QString directory = directoryPart(absolutePath(target_));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = partName(directory);
        if (linkat(AT_FDCWD, procPath(fd_).constData(), AT_FDCWD, hostBytes(toHostPath(candidate)).constData(),
                   AT_SYMLINK_FOLLOW) == 0) {
            path_ = candidate;
            scratchPlace_ = trackScratchFile(toHostPath(path_));
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    errorNumber_ = errno;
    return false;
}

bool ReplacementFile::closeAfterCommit()
{
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    if (!closed)
        errorNumber_ = errno;
    return closed;
}

std::optional<QString> whyNotReplaceable(const Attributes& existing)
{
    if (existing.directory)
        return QCoreApplication::translate("Platform", "ist ein Verzeichnis");
    if (existing.readOnly && !existing.symlink)
        return QCoreApplication::translate("Platform", "schreibgeschützt");
    return {};
}

std::optional<QString> whyNotReplaceable(const QString& target)
{
    const auto existing = attributes(target);
    return existing ? whyNotReplaceable(*existing) : std::nullopt;
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
