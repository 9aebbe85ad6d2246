#include "remote/ftpreplies.h"

#include <QTimeZone>
#include <cctype>
#include <optional>

namespace quorbin {
namespace {

bool startsWithCode(const QByteArray& line)
{
    return line.size() >= 3 && std::isdigit(uchar(line[0])) && std::isdigit(uchar(line[1])) &&
           std::isdigit(uchar(line[2]));
}

bool isFinalLine(const QByteArray& line)
{
    return startsWithCode(line) && (line.size() == 3 || line[3] == ' ');
}

QDateTime parseModifyFact(const QByteArray& value)
{
    // YYYYMMDDHHMMSS[.sss], always UTC.
    QDateTime time = QDateTime::fromString(QString::fromLatin1(value.left(14)), QStringLiteral("yyyyMMddHHmmss"));
    if (!time.isValid())
        return {};
    time.setTimeZone(QTimeZone::utc());
    return time.toLocalTime();
}

std::optional<FtpListEntry> parseMlsdLine(const QByteArray& line)
{
    // "fact=value;fact=value; name": the facts end in ";" (or there are none).
    const qsizetype blank = line.indexOf(' ');
    if (blank < 0 || (blank > 0 && line[blank - 1] != ';'))
        return {};
    FtpListEntry entry;
    entry.rawName = line.mid(blank + 1);
    entry.name = DecodeServerText(entry.rawName);
    for (const QByteArray& fact : line.left(blank).split(';')) {
        const qsizetype equals = fact.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = fact.left(equals).toLower();
        const QByteArray value = fact.mid(equals + 1);
        if (key == "type") {
            entry.type = QString::fromLatin1(value);
            const QByteArray kind = value.toLower();
            entry.directory = kind == "dir" || kind == "cdir" || kind == "pdir";
            // Some servers name the listed directory and its parent by their full paths.
            if (kind == "cdir")
                entry.rawName = ".";
            else if (kind == "pdir")
                entry.rawName = "..";
            entry.name = DecodeServerText(entry.rawName);
        } else if (key == "size" || key == "sizd") {
            entry.size = value.toLongLong();
        } else if (key == "modify") {
            entry.modified = parseModifyFact(value);
        }
    }
    if (entry.name.isEmpty())
        return {};
    return entry;
}

}  // namespace

QString DecodeServerText(const QByteArray& bytes)
{
    return QByteArrayView(bytes).isValidUtf8() ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

void FtpReplyLog::add(const QByteArray& raw)
{
    QByteArray line = raw;
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    // Lines of multi-line replies may start with a blank; anything else without a code is a
    // header line that the library made up (Content-Length, Last-Modified …).
    if (startsWithCode(line) || line.startsWith(' '))
        lines_ << line;
}

FtpReply FtpReplyLog::lastReply() const
{
    qsizetype end = lines_.size() - 1;
    while (end >= 0 && !isFinalLine(lines_[end]))
        --end;
    if (end < 0)
        return {};
    const QByteArray code = lines_[end].left(3);
    qsizetype begin = end;
    // A multi-line reply opens with "ddd-" and the same code.
    for (qsizetype i = end - 1; i >= 0; --i) {
        if (isFinalLine(lines_[i]))
            break;
        if (lines_[i].startsWith(code + '-')) {
            begin = i;
            break;
        }
    }
    QByteArrayList text;
    for (qsizetype i = begin; i <= end; ++i) {
        const QByteArray& line = lines_[i];
        text << (startsWithCode(line) ? line.mid(4) : line);
    }
    const QByteArray bytes = text.join('\n');
    return {code.toInt(), DecodeServerText(bytes), bytes};
}

FtpFeatures ParseFeatures(const QList<QByteArray>& replyLines)
{
    FtpFeatures features;
    for (const QByteArray& line : replyLines) {
        if (!line.startsWith(' '))
            continue;
        const QByteArray feature = line.trimmed().toUpper();
        // MLSD is announced through its fact list: " MLST type*;size*;modify*;".
        if (feature == "MLST" || feature.startsWith("MLST ") || feature == "MLSD")
            features.mlsd = true;
        if (feature == "UTF8")
            features.utf8 = true;
        if (feature == "REST STREAM")
            features.rest = true;
    }
    return features;
}

QByteArray ParseDirectoryReply(const QByteArray& replyText)
{
    const qsizetype open = replyText.indexOf('"');
    if (open < 0)
        return {};
    QByteArray directory;
    for (qsizetype i = open + 1; i < replyText.size(); ++i) {
        if (replyText[i] != '"') {
            directory += replyText[i];
        } else if (i + 1 < replyText.size() && replyText[i + 1] == '"') {
            directory += '"';  // a quote inside the name is doubled
            ++i;
        } else {
            return directory;
        }
    }
    return {};
}

QList<FtpListEntry> ParseMlsd(const QByteArray& body)
{
    QList<FtpListEntry> entries;
    for (QByteArray line : body.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (auto entry = parseMlsdLine(line))
            entries << *entry;
    }
    return entries;
}

}  // namespace quorbin
