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
    QByteArray bytes;  // the text as sent
};

// A name or reply text from the server: UTF-8 when the bytes are valid UTF-8, else Latin-1.
// Servers that do not announce UTF8 send either: vsftpd passes a Linux file system's UTF-8
// names on as they are, others send Latin-1, and Latin-1 umlauts are practically never valid
// UTF-8.
QString DecodeServerText(const QByteArray& bytes);

// Collects reply lines; drops the header lines that the FTP library makes up itself.
class FtpReplyLog {
public:
    void clear() { lines_.clear(); }
    void add(const QByteArray& raw);
    // The last complete reply; code 0 when there is none.
    FtpReply lastReply() const;
    // Every reply line since clear(), for feature lists.
    const QList<QByteArray>& lines() const { return lines_; }

private:
    QList<QByteArray> lines_;
};

// What the server announces in its reply to FEAT.
struct FtpFeatures {
    bool mlsd = false;
    bool utf8 = false;
    bool rest = false;  // "REST STREAM": a download may begin at a byte offset
};
FtpFeatures ParseFeatures(const QList<QByteArray>& replyLines);

// The directory of a 257 reply ("/a/b" is the current directory), as sent; empty when there
// is none.
QByteArray ParseDirectoryReply(const QByteArray& replyText);

// The entries of an MLSD reply; malformed lines are skipped.
QList<FtpListEntry> ParseMlsd(const QByteArray& body);

}  // namespace quorbin
