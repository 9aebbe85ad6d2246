#include "config/inifile.h"

#include "config/ansitext.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QFile>
#include <QFileInfo>

namespace quorbin::config {
namespace {

bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

// Blanks and tabs only, as the store's platform trims: a key may end in a no-break space.
QStringView trimBlanks(QStringView text)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    return text;
}

// Calls visit(line) for each line, trimmed, until it returns false. Bare CR, bare LF and
// CR LF all end a line.
template <typename Visit>
void forEachLine(QStringView text, Visit visit)
{
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && !isLineEnd(text[end]))
            ++end;
        if (!visit(trimBlanks(text.sliced(start, end - start))))
            return;
        start = end + 1;
    }
}

// The section a "[name]" line opens, or nothing for any other line.
std::optional<QStringView> sectionName(QStringView line)
{
    if (!line.startsWith(u'['))
        return {};
    const qsizetype close = line.indexOf(u']');
    if (close < 0)
        return {};
    return trimBlanks(line.sliced(1, close - 1));
}

QString valueText(QStringView raw)
{
    QStringView v = trimBlanks(raw);
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    return v.left(IniFile::kMaxValueLength).toString();
}

bool sameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

int digitValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

}  // namespace

QString iniFilePath(const QString& path)
{
    if (path.contains(u'\\') || path.contains(u'/') || path.contains(u':'))
        return path;
    const QString directory = platform::windowsDirectory();
    return directory.endsWith(u'\\') ? directory + path : directory + u'\\' + path;
}

IniFile IniFile::load(const QString& path)
{
    IniFile file;
    // File names are case-blind where the set files come from: "QUORBIN.INI", "büro.set".
    const QString hostPath = platform::caseBlindHostPath(platform::toHostPath(iniFilePath(path)));
    // Only regular files: a directory, a pipe or a device would not read as text, or never end.
    if (!QFileInfo(hostPath).isFile())
        return file;
    QFile f(hostPath);
    if (!f.open(QIODevice::ReadOnly))
        return file;
    // Read as it is large: one read of the limit would set aside the limit for every file.
    constexpr qint64 kPiece = qint64(64) * 1024;
    QByteArray bytes;
    for (QByteArray chunk; bytes.size() <= kMaxBytes && !(chunk = f.read(kPiece)).isEmpty();)
        bytes += chunk;
    if (f.error() != QFileDevice::NoError || bytes.size() > kMaxBytes)
        return file;
    file.text_ = decodeIniBytes(bytes);
    file.loaded_ = true;
    return file;
}

std::optional<QString> IniFile::value(QStringView section, QStringView key) const
{
    std::optional<QString> found;
    bool inSection = false;
    forEachLine(text_, [&](QStringView line) {
        if (const auto name = sectionName(line)) {
            if (inSection)
                return false;  // the first section of this name has ended: later ones don't count
            inSection = sameName(*name, section);
            return true;
        }
        if (!inSection)
            return true;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || !sameName(trimBlanks(line.first(eq)), key))
            return true;
        found = valueText(line.sliced(eq + 1));
        return false;
    });
    return found;
}

QString IniFile::readString(QStringView section, QStringView key, const QString& fallback) const
{
    return value(section, key).value_or(fallback);
}

bool IniFile::readBool(QStringView section, QStringView key, bool fallback) const
{
    const auto text = value(section, key);
    if (!text)
        return fallback;
    const auto number = iniInteger(*text);
    return number ? *number != 0 : fallback;
}

std::optional<qint64> iniInteger(QStringView text)
{
    bool negative = false;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    int base = 10;
    if (text.startsWith(u'$')) {
        base = 16;
        text = text.sliced(1);
    } else if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        text = text.sliced(2);
    }
    if (text.isEmpty())
        return {};
    // Hexadecimal fills all 32 bits ("$FFFFFFFF" is -1); decimal stays within the signed range.
    const quint64 limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    quint64 magnitude = 0;
    for (const QChar c : text) {
        const int digit = digitValue(c);
        if (digit < 0 || digit >= base)
            return {};
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return {};
    }
    qint64 number = static_cast<qint64>(magnitude);
    if (base == 16 && number > 0x7FFFFFFF)
        number -= 0x100000000ll;
    return negative ? -number : number;
}

}  // namespace quorbin::config
