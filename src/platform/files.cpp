#include "platform/files.h"

#include <array>
#include <cerrno>
#include <cstring>

#include "platform/hostnames.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorbin::platform {
namespace {

QByteArray native(const QString& windowsPath) { return hostBytes(toHostPath(windowsPath)); }

qsizetype lastDelimiter(const QString& path)
{
    return std::max(path.lastIndexOf(u'\\'), std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u':')));
}

bool inStoreTimeRange(const QDateTime& t) { return t.date().year() >= 1980 && t.date().year() <= 2107; }

}  // namespace

std::optional<Attributes> attributes(const QString& path)
{
    struct stat st {};
    if (lstat(native(path).constData(), &st) != 0)
        return {};
    Attributes a;
    a.symlink = S_ISLNK(st.st_mode);
    a.directory = S_ISDIR(st.st_mode);
    if (a.symlink) {
        struct stat target {};
        if (stat(native(path).constData(), &target) == 0)
            st = target;
    }
    a.readOnly = (st.st_mode & S_IWUSR) == 0;
    a.hidden = namePart(path).startsWith(u'.');
    return a;
}

bool fileExists(const QString& path)
{
    struct stat st {};
    const QByteArray p = native(path);
    if (stat(p.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    return access(p.constData(), R_OK) == 0;
}

ReadFile::ReadFile(const QString& path)
{
    // Opened without waiting (a pipe would block) and then looked at through the descriptor,
    // so what is checked is what is read: only a regular file is.
    const QByteArray p = native(path);
    int fd = open(p.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        // Another process holds a lease (a file shared through Samba, say): a regular file is
        // worth waiting for until the lease is given up.
        if (stat(p.constData(), &st) != 0 || !S_ISREG(st.st_mode))
            return;
        fd = open(p.constData(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    }
    if (fd >= 0 && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        close(fd);
        return;
    }
    fd_ = fd;  // O_NONBLOCK does nothing to the reads of a regular file
}

ReadFile::~ReadFile()
{
    if (fd_ >= 0)
        close(fd_);
}

qint64 ReadFile::read(char* data, qint64 size)
{
    // What one call brings: a small file is read whole without asking once more for its end.
    for (;;) {
        const ssize_t got = ::read(fd_, data, size_t(size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            errorNumber_ = errno;
        return got < 0 ? -1 : qint64(got);
    }
}

bool directoryExists(const QString& path)
{
    struct stat st {};
    return stat(native(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isSameFile(const QString& a, const QString& b)
{
    struct stat sa {}, sb {};
    // The second first: it is mostly a target that does not exist yet.
    return stat(native(b).constData(), &sb) == 0 && stat(native(a).constData(), &sa) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool liesWithin(const QString& path, const QString& directory)
{
    // A path that does not exist yet lies where its nearest existing folder, links followed,
    // lies: "E:\\link\\R" is inside the store when the link points there.
    auto resolved = [](const QString& windowsPath) {
        QString existing = QDir::cleanPath(toHostPath(windowsPath));
        QString rest;
        while (!QFileInfo::exists(existing) && existing != u"/" && !existing.isEmpty()) {
            const qsizetype slash = existing.lastIndexOf(u'/');
            rest = existing.mid(slash) + rest;
            existing = slash <= 0 ? QStringLiteral("/") : existing.left(slash);
        }
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        return QDir::cleanPath((canonical.isEmpty() ? existing : canonical) + rest);
    };
    const QString p = resolved(path);
    const QString d = resolved(directory);
    return p == d || p.startsWith(d.endsWith(u'/') ? d : d + u'/');
}

qint64 fileSize(const QString& path)
{
    struct stat st {};
    return stat(native(path).constData(), &st) == 0 ? qint64(st.st_size) : -1;
}

bool createFolders(const QString& directory)
{
    // Part by part through the same bytes that opening a file there uses, so a folder whose
    // name is no UTF-8 is found rather than made again under its reading.
    const QString path = QDir::cleanPath(toHostPath(directory));
    struct stat st {};
    if (stat(hostBytes(path).constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    for (qsizetype end = path.indexOf(u'/', 1); ; end = path.indexOf(u'/', end + 1)) {
        const QByteArray part = hostBytes(end < 0 ? path : path.left(end));
        if (mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
            return false;
        if (end < 0)
            break;
    }
    if (stat(hostBytes(path).constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return true;
    errno = ENOTDIR;
    return false;
}

bool removeFile(const QString& path) { return unlink(native(path).constData()) == 0; }

int syncFileSystemOf(const QString& path)
{
    QString folder = QDir::cleanPath(toHostPath(path));
    while (!QFileInfo::exists(folder) && folder != u"/" && !folder.isEmpty())
        folder = QFileInfo(folder).path();
    const int fd = open(hostBytes(folder).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;  // nothing there was written
    const int result = syncfs(fd) == 0 ? 0 : errno;
    close(fd);
    return result;
}

QString directoryPart(const QString& path) { return path.left(lastDelimiter(path) + 1); }

QString namePart(const QString& path) { return path.mid(lastDelimiter(path) + 1); }

QString extensionPart(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > lastDelimiter(path) ? path.mid(dot) : QString();
}

QString absolutePath(const QString& path)
{
    if (looksLikeWindowsPath(path))
        return path;
    return toWindowsPath(toHostPath(path));
}

QString hostPathOf(const QString& path) { return toHostPath(absolutePath(path)); }

QString caseBlindHostPath(const QString& hostPath)
{
    const QString clean = QDir::cleanPath(hostPath);
    if (QFileInfo::exists(clean) || !clean.startsWith(u'/'))
        return hostPath;
    QString resolved;
    for (const QString& part : clean.mid(1).split(u'/')) {
        const QString exact = resolved + u'/' + part;
        if (QFileInfo::exists(exact)) {
            resolved = exact;
            continue;
        }
        const QStringList all = QDir(resolved.isEmpty() ? QStringLiteral("/") : resolved)
                                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        QStringList matches;
        for (const QString& entry : all)
            if (entry.compare(part, Qt::CaseInsensitive) == 0)
                matches << entry;
        if (matches.size() != 1)
            return hostPath;
        resolved += u'/' + matches.first();
    }
    return resolved;
}

std::optional<QDateTime> lastWriteTime(const QString& path)
{
    struct stat st {};
    if (stat(native(path).constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return {};
    return storeTime(st.st_mtim.tv_sec);
}

std::optional<QDateTime> storeTime(qint64 secondsSinceEpoch)
{
    const qint64 evenSeconds = secondsSinceEpoch - (QDateTime::fromSecsSinceEpoch(secondsSinceEpoch).time().second() % 2);
    const QDateTime local = QDateTime::fromSecsSinceEpoch(evenSeconds);
    if (!inStoreTimeRange(local))
        return {};
    return local;
}

namespace {

// The last-write time as the system takes it (odd second dropped); none outside 1980 to 2107.
std::optional<std::array<struct timespec, 2>> writeTimes(const QDateTime& localTime)
{
    if (!localTime.isValid() || !inStoreTimeRange(localTime))
        return {};
    // The odd second is taken off the instant itself: setting the clock time again would pick
    // the first of the two hours that the autumn clock change repeats.
    const QDateTime t = localTime.addSecs(-(localTime.time().second() % 2));
    std::array<struct timespec, 2> times {};
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = t.toSecsSinceEpoch();
    times[1].tv_nsec = 0;
    return times;
}

}  // namespace

bool setLastWriteTime(const QString& path, const QDateTime& localTime)
{
    const auto times = writeTimes(localTime);
    return times && utimensat(AT_FDCWD, native(path).constData(), times->data(), 0) == 0;
}

bool setLastWriteTime(int fd, const QDateTime& localTime)
{
    const auto times = writeTimes(localTime);
    return times && futimens(fd, times->data()) == 0;
}

QString systemReason(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("Platform", "keine Berechtigung");
    case EROFS:
        return QCoreApplication::translate("Platform", "Dateisystem schreibgeschützt");
    case ENOSPC:
        return QCoreApplication::translate("Platform", "kein Platz auf dem Datenträger");
    case EDQUOT:
        return QCoreApplication::translate("Platform", "Speicherkontingent erschöpft");
    case EISDIR:
        return QCoreApplication::translate("Platform", "ist ein Verzeichnis");
    case ENOENT:
        return QCoreApplication::translate("Platform", "Verzeichnis fehlt");
    case ENOTDIR:
        return QCoreApplication::translate("Platform", "ein Teil des Pfades ist kein Verzeichnis");
    default: return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

}  // namespace quorbin::platform
