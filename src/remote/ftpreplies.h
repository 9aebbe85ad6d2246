#pragma once
// Reading the server's reply lines as the FTP library hands them over.
#include "remote/ftpentry.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace quorbin {

// A complete server reply: its code and its text lines without the code.
struct FtpReply {
    int code = 0;
    QString text;
};

// Collects reply lines; drops the header lines that the FTP library makes up itself.
class FtpReplyLog {
public:
    void clear() { lines_.clear(); }
    void add(const QByteArray& line);
    // The last complete reply, decoded as UTF-8 or Latin-1; code 0 when there is none.
    FtpReply lastReply(bool utf8) const;
    // Every reply line since clear(), for feature lists.
    const QList<QByteArray>& lines() const { return lines_; }

private:
    QList<QByteArray> lines_;
};

// What the server announces in its reply to FEAT.
struct FtpFeatures {
    bool mlsd = false;
    bool utf8 = false;
};
FtpFeatures ParseFeatures(const QList<QByteArray>& replyLines);

// The directory of a 257 reply ("/a/b" is the current directory); empty when there is none.
QString ParseDirectoryReply(const QString& replyText);

// The entries of an MLSD reply. Names are decoded as UTF-8 or Latin-1; malformed lines are
// skipped.
QList<FtpListEntry> ParseMlsd(const QByteArray& body, bool utf8);

}  // namespace quorbin
