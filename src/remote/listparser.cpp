#include "remote/listparser.h"

#include "remote/ftpreplies.h"

#include <QTimeZone>

namespace quorbin {
namespace {

// A run of non-blank characters and where it lies in its line.
struct Token {
    qsizetype begin = 0;
    qsizetype end = 0;  // one past its last character
    QByteArray text;
};

QList<Token> tokensOf(const QByteArray& line)
{
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const qsizetype begin = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > begin)
            tokens << Token{begin, i, line.mid(begin, i - begin)};
    }
    return tokens;
}

bool allDigits(const QByteArray& text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// 1 to 12, or 0 for no English month abbreviation.
int monthOf(const QByteArray& text)
{
    static const QByteArrayList months{"jan", "feb", "mar", "apr", "may", "jun",
                                       "jul", "aug", "sep", "oct", "nov", "dec"};
    return int(months.indexOf(text.toLower())) + 1;
}

bool isUnixMode(const QByteArray& mode)
{
    // "drwxr-xr-x", with an ACL or attribute mark ("+", "@", ".") after it on some systems.
    if (mode.size() < 10 || mode.size() > 11 || !QByteArray("-dlbcpsD").contains(mode[0]))
        return false;
    for (qsizetype i = 1; i < 10; ++i) {
        if (!QByteArray("rwxsStTlL-").contains(mode[i]))
            return false;
    }
    return true;
}

bool isTotalLine(const QByteArray& line)
{
    const QList<Token> tokens = tokensOf(line);
    return tokens.size() == 2 && tokens[0].text.toLower() == "total" && allDigits(tokens[1].text);
}

// "Apr 19 14:03" lies within the last year: in the year of now, unless that is too far ahead.
QDateTime recentTime(int month, int day, const QTime& time, const QDateTime& now)
{
    const QDateTime nowUtc = now.toUTC();
    for (const int year : {nowUtc.date().year(), nowUtc.date().year() - 1}) {
        const QDateTime candidate(QDate(year, month, day), time, QTimeZone::utc());
        if (candidate.isValid() && candidate <= nowUtc.addDays(1))
            return candidate.toLocalTime();
    }
    return {};
}

std::optional<FtpListEntry> parseUnixLine(const QByteArray& line, const QDateTime& now)
{
    const QList<Token> tokens = tokensOf(line);
    if (tokens.isEmpty() || !isUnixMode(tokens[0].text))
        return {};
    // The owner and the group may be missing or hold blanks of their own: the size and the
    // date are found by their form instead of by their place.
    for (qsizetype i = 2; i + 2 < tokens.size(); ++i) {
        const int month = monthOf(tokens[i].text);
        const QByteArray& day = tokens[i + 1].text;
        const QByteArray& last = tokens[i + 2].text;
        if (month == 0 || !allDigits(tokens[i - 1].text) || !allDigits(day) || day.size() > 2)
            continue;
        FtpListEntry entry;
        if (last.size() == 4 && allDigits(last)) {
            entry.modified = QDateTime(QDate(last.toInt(), month, day.toInt()), QTime(0, 0));
            entry.resolution = FtpTimeResolution::Day;
        } else if (const QTime time = QTime::fromString(QString::fromLatin1(last), QStringLiteral("H:mm")); time.isValid()) {
            entry.modified = recentTime(month, day.toInt(), time, now);
            entry.resolution = FtpTimeResolution::Minute;
        } else {
            continue;
        }
        entry.rawName = line.mid(tokens[i + 2].end + 1);
        entry.size = tokens[i - 1].text.toLongLong();
        const char kind = tokens[0].text[0];
        entry.directory = kind == 'd';
        entry.type = kind == 'd' ? QStringLiteral("dir") : kind == 'l' ? QStringLiteral("link") : QStringLiteral("file");
        if (kind == 'l') {
            const qsizetype arrow = entry.rawName.indexOf(" -> ");
            if (arrow > 0) {
                entry.directory = entry.rawName.endsWith('/');
                entry.rawName.truncate(arrow);
            }
        }
        if (entry.rawName.isEmpty())
            return {};
        entry.name = DecodeServerText(entry.rawName);
        return entry;
    }
    return {};
}

QDate dosDate(const QByteArray& text)
{
    const QList<QByteArray> parts = QByteArray(text).replace('/', '-').split('-');
    if (parts.size() != 3 || !allDigits(parts[0]) || !allDigits(parts[1]) || !allDigits(parts[2]))
        return {};
    int year = parts[2].toInt();
    if (parts[2].size() == 2)
        year += year < 70 ? 2000 : 1900;
    else if (parts[2].size() != 4)
        return {};
    return QDate(year, parts[0].toInt(), parts[1].toInt());
}

QTime dosTime(const QByteArray& text)
{
    const QByteArray upper = text.toUpper();
    if (!upper.endsWith("AM") && !upper.endsWith("PM"))
        return QTime::fromString(QString::fromLatin1(text), QStringLiteral("H:mm"));
    const QTime clock = QTime::fromString(QString::fromLatin1(text.left(text.size() - 2)), QStringLiteral("h:mm"));
    if (!clock.isValid() || clock.hour() < 1 || clock.hour() > 12)
        return {};
    const int hour = clock.hour() % 12 + (upper.endsWith("PM") ? 12 : 0);
    return QTime(hour, clock.minute());
}

std::optional<FtpListEntry> parseDosLine(const QByteArray& line)
{
    const QList<Token> tokens = tokensOf(line);
    if (tokens.size() < 4)
        return {};
    const QDate date = dosDate(tokens[0].text);
    const QTime time = dosTime(tokens[1].text);
    if (!date.isValid() || !time.isValid())
        return {};
    FtpListEntry entry;
    entry.modified = QDateTime(date, time);
    entry.resolution = FtpTimeResolution::Minute;
    const Token& sizeOrDir = tokens[2];
    qsizetype nameBegin = sizeOrDir.end + 1;
    if (sizeOrDir.text.toUpper() == "<DIR>") {
        entry.directory = true;
        entry.type = QStringLiteral("dir");
        // IIS puts ten blanks after "<DIR>", so names line up with those of files; further
        // blanks belong to the name.
        const qsizetype padding = 10;
        nameBegin = tokens[3].begin - sizeOrDir.end > padding ? sizeOrDir.end + padding : tokens[3].begin;
    } else if (allDigits(sizeOrDir.text)) {
        entry.size = sizeOrDir.text.toLongLong();
        entry.type = QStringLiteral("file");
    } else {
        return {};
    }
    entry.rawName = line.mid(nameBegin);
    entry.name = DecodeServerText(entry.rawName);
    return entry;
}

}  // namespace

std::optional<QList<FtpListEntry>> ParseList(const QByteArray& body, const QDateTime& now)
{
    QList<FtpListEntry> entries;
    bool anyLine = false;
    bool understood = false;
    for (QByteArray line : body.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        anyLine = true;
        if (isTotalLine(line)) {
            understood = true;
            continue;
        }
        std::optional<FtpListEntry> entry = parseUnixLine(line, now);
        if (!entry)
            entry = parseDosLine(line);
        if (entry) {
            entries << *entry;
            understood = true;
        }
    }
    if (anyLine && !understood)
        return std::nullopt;
    return entries;
}

}  // namespace quorbin
