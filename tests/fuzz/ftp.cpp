// FTP replies, MLSD and LIST bodies, and the names of a session. Input: bytes as a server
// sends them; every parser reads the same bytes.
//
// Properties: a listed name (one whose text no other listed name shares) and a directory of
// a PWD reply that is valid UTF-8 are spelt back as exactly the bytes the server sent; a Unix
// LIST time without a year is at most a day ahead of now; a reply's code has three digits.
#include "remote/ftpnames.h"
#include "remote/ftpreplies.h"
#include "remote/listparser.h"
#include "sandbox.h"

#include <QSet>
#include <QTimeZone>

#include <cstddef>
#include <cstdint>

using namespace quorbin;
using quorbin::fuzz::violated;

namespace {

QString shown(const QByteArray& bytes) { return QString::fromLatin1(bytes.toPercentEncoding(" /")); }

void checkSpelling(const QList<FtpListEntry>& entries, bool utf8)
{
    QHash<QString, QSet<QByteArray>> spellings;
    for (const FtpListEntry& entry : entries)
        spellings[entry.name] << entry.rawName;
    FtpNames names;
    names.reset(utf8);
    names.learn(QStringLiteral("/srv/Store"), entries);
    for (const FtpListEntry& entry : entries) {
        if (spellings[entry.name].size() > 1 || entry.name.contains(u'/') || entry.name == u"." || entry.name == u"..")
            continue;
        const QByteArray spelt = names.spell(entry.name, QStringLiteral("/srv/Store/"));
        const QByteArray absolute = names.spell("/srv/Store/" + entry.name, QStringLiteral("/"));
        if (spelt != entry.rawName || absolute != "/srv/Store/" + entry.rawName)
            violated("a listed name goes back as it was sent",
                     shown(entry.rawName) + " spelt " + shown(spelt) + " / " + shown(absolute));
    }
}

void checkDirectoryReply(const QByteArray& reply, bool utf8)
{
    const QByteArray directory = ParseDirectoryReply(reply);
    if (directory.isEmpty() || !QByteArrayView(directory).isValidUtf8())
        return;
    FtpNames names;
    names.reset(utf8);
    const QString text = names.learnPath(directory);
    // A relative reply (from an odd server) counts from no directory, as learnPath takes it.
    const QByteArray spelt = names.spell(text, QString());
    if (spelt != directory)
        violated("a PWD directory goes back as it was sent", shown(directory) + " spelt " + shown(spelt));
}

// Only a Unix line has a time without a year; it starts with its mode, a DOS line with digits.
void checkListTimes(const QByteArray& body, const QDateTime& now)
{
    int checked = 0;
    for (const QByteArray& line : body.split('\n')) {
        if (line.isEmpty() || !QByteArray("-dlbcpsD").contains(line[0]) || ++checked > 32)
            continue;
        const auto entries = ParseList(line, now);
        if (!entries || entries->size() != 1 || entries->first().resolution != FtpTimeResolution::Minute)
            continue;
        const QDateTime modified = entries->first().modified;
        if (modified.isValid() && modified > now.addDays(1))
            violated("a LIST time without a year lies at most a day ahead", modified.toUTC().toString(Qt::ISODate));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)DecodeServerText(body);

    FtpReplyLog log;
    for (const QByteArray& line : body.split('\n'))
        log.add(line + '\n');
    const FtpReply reply = log.lastReply();
    if (reply.code < 0 || reply.code > 999)
        violated("a reply code has three digits", QString::number(reply.code));
    const FtpFeatures features = ParseFeatures(log.lines());
    checkDirectoryReply(reply.bytes, features.utf8);
    checkDirectoryReply(body, features.utf8);

    checkSpelling(ParseMlsd(body), features.utf8);
    const QDateTime now(QDate(2026, 3, 1), QTime(12, 0), QTimeZone::utc());
    if (const auto list = ParseList(body, now))
        checkSpelling(*list, features.utf8);
    checkListTimes(body, now);
    return 0;
}
