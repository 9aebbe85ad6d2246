#include "platform/tempfiles.h"

#include "platform/winpath.h"

#include <QRandomGenerator>
#include <QtGlobal>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorbin::platform {
namespace {

std::optional<QString> privateHostTempDirectory()
{
    QString base = qEnvironmentVariable("TMPDIR");
    if (base.isEmpty())
        base = QStringLiteral("/tmp");
    const QString dir = base + "/quorbin-" + QString::number(getuid());
    const QByteArray native = dir.toLocal8Bit();
    if (mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat st {};
    if (lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid())
        return {};
    if ((st.st_mode & 077) != 0 && chmod(native.constData(), 0700) != 0)
        return {};
    return dir;
}

}  // namespace

std::optional<QString> userTempDirectory()
{
    const auto host = privateHostTempDirectory();
    if (!host)
        return {};
    QString windows = toWindowsPath(*host);
    if (!windows.endsWith(u'\\'))
        windows += u'\\';
    return windows;
}

std::optional<QString> createTempFile(const QString& prefix)
{
    const auto host = privateHostTempDirectory();
    if (!host)
        return {};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            prefix + QString::number(QRandomGenerator::global()->bounded(0x10000000u), 16).toUpper() + ".tmp";
        const QString path = *host + u'/' + name;
        const int fd = open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            close(fd);
            return toWindowsPath(path);
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

}  // namespace quorbin::platform
