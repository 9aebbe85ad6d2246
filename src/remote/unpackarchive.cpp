#include "remote/listingarchive.h"

#include "platform/winpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace quorbin {
namespace {

using ReadArchive = std::unique_ptr<archive, decltype(&archive_read_free)>;

QString memberName(archive_entry* entry)
{
    if (const char* utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    const char* raw = archive_entry_pathname(entry);
    return raw ? QString::fromLocal8Bit(raw) : QString();
}

// The member's path parts when it stays below the target: no root, no drive, no "..".
std::optional<QStringList> relativeParts(const QString& name)
{
    if (name.isEmpty() || name.startsWith(u'/') || name.startsWith(u'\\') || name.contains(u':'))
        return {};
    QStringList parts = QString(name).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    if (parts.isEmpty() || parts.contains(QStringLiteral("..")))
        return {};
    return parts;
}

// Walks down from the target, making the missing folders; refuses a link or a file on the way.
bool makeFolders(const QString& target, const QStringList& folders)
{
    QString path = target;
    for (const QString& folder : folders) {
        path += u'/' + folder;
        const QFileInfo info(path);
        if (info.isSymLink() || (info.exists() && !info.isDir()))
            return false;
        if (!info.exists() && !QDir().mkdir(path))
            return false;
    }
    return true;
}

// What a listing archive may unpack at most: a hostile one must not fill the disk.
constexpr qint64 kMaxUnpackedBytes = qint64(1) << 30;
constexpr int kMaxMembers = 100000;

bool writeMember(archive* reader, const QString& path, qint64& budget)
{
    const QFileInfo existing(path);
    if (existing.isSymLink() || existing.isDir())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray buffer(qsizetype(64) * 1024, Qt::Uninitialized);
    for (;;) {
        const la_ssize_t n = archive_read_data(reader, buffer.data(), size_t(buffer.size()));
        if (n == 0)
            return true;
        budget -= n;
        if (n < 0 || budget < 0 || file.write(buffer.constData(), n) != n) {
            file.remove();
            return false;
        }
    }
}

bool extract(archive* reader, archive_entry* entry, const QString& target, const QStringList& parts, qint64& budget)
{
    switch (archive_entry_filetype(entry)) {
    case AE_IFDIR:
        return makeFolders(target, parts);
    case AE_IFREG:
        if (archive_entry_hardlink(entry))
            return false;
        return makeFolders(target, parts.mid(0, parts.size() - 1)) && writeMember(reader, target + u'/' + parts.join(u'/'), budget);
    default:
        return false;  // links and devices are not listing files
    }
}

}  // namespace

UnpackResult UnpackArchive(const QString& zipFile, const QString& targetDirectory)
{
    UnpackResult result;
    const QString target = QDir::cleanPath(platform::toHostPath(targetDirectory));
    ReadArchive reader(archive_read_new(), &archive_read_free);
    archive_read_support_format_zip(reader.get());
    if (archive_read_open_filename(reader.get(), QFile::encodeName(platform::toHostPath(zipFile)).constData(),
                                   size_t(64) * 1024) != ARCHIVE_OK)
        return result;
    archive_entry* entry = nullptr;
    qint64 budget = kMaxUnpackedBytes;
    for (int members = 0; members < kMaxMembers; ++members) {
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF || status == ARCHIVE_FATAL)
            break;
        const QString name = memberName(entry);
        const auto parts = relativeParts(name);
        if (parts && extract(reader.get(), entry, target, *parts, budget))
            ++result.extracted;
        else
            result.refused << name;
    }
    return result;
}

}  // namespace quorbin
