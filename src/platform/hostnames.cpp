#include "platform/hostnames.h"

#include <QHash>
#include <atomic>
#include <mutex>
#include <sys/stat.h>

namespace quorbin::platform {
namespace {

// Windows-1252 without a converter library: Latin-1 except for 0x80 to 0x9F. The five
// bytes that code page leaves unassigned keep their Latin-1 control characters.
const char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar byte = uchar(bytes[i]);
        text[i] = byte >= 0x80 && byte < 0xA0 ? QChar(kWindows1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

bool isAscii(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// The raw host paths of the names read as Windows-1252, by the UTF-8 bytes of their text.
struct Aliases {
    std::mutex lock;
    QHash<QByteArray, QByteArray> rawByText;
    std::atomic<bool> any = false;  // most stores have none: then no thread waits for the lock
};

Aliases& aliases()
{
    static Aliases instance;
    return instance;
}

bool exists(const QByteArray& path)
{
    struct stat st {};
    return lstat(path.constData(), &st) == 0;
}

}  // namespace

QString nameText(const QByteArray& raw)
{
    return QByteArrayView(raw).isValidUtf8() ? QString::fromUtf8(raw) : fromWindows1252(raw);
}

EntryName decodeEntryName(const QString& directory, const QByteArray& raw)
{
    if (QByteArrayView(raw).isValidUtf8())
        return {QString::fromUtf8(raw)};
    const QString text = fromWindows1252(raw);
    const QString parent = directory.endsWith(u'/') ? directory : directory + u'/';
    const QByteArray parentBytes = hostBytes(parent);
    // A valid UTF-8 name that reads the same would be reached instead: this one cannot be.
    if (exists(parentBytes + text.toUtf8()))
        return {text, true};
    Aliases& all = aliases();
    const std::lock_guard guard(all.lock);
    all.rawByText.insert((parent + text).toUtf8(), parentBytes + raw);
    all.any = true;
    return {text};
}

QByteArray hostBytes(const QString& hostPath)
{
    QByteArray bytes = hostPath.toUtf8();
    Aliases& all = aliases();
    if (!all.any || isAscii(hostPath))
        return bytes;
    const std::lock_guard guard(all.lock);
    if (all.rawByText.isEmpty())
        return bytes;
    // The longest remembered directory or file at the head of the path stands for its bytes.
    for (qsizetype end = bytes.size(); end > 0; end = bytes.lastIndexOf('/', end - 1)) {
        const auto found = all.rawByText.constFind(bytes.left(end));
        if (found != all.rawByText.cend())
            return *found + bytes.mid(end);
    }
    return bytes;
}

}  // namespace quorbin::platform
