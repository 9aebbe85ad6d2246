#pragma once
// How the names of one FTP session are spelt on the wire. A name that the server listed (or
// named in a PWD reply) goes back as exactly the bytes it sent: a server that announces no
// UTF8 may hold Latin-1 and UTF-8 names side by side, and the text shown cannot tell which
// bytes it came from. Any other name goes as UTF-8 when the server announced UTF8, else as
// Latin-1 ("?" for what Latin-1 lacks), as the backup program wrote its mirror there.
#include "remote/ftpentry.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace quorbin {

class FtpNames {
public:
    // A new session forgets what the last one listed.
    void reset(bool utf8Announced);

    // The names of a listed directory (the path as the client tracks it).
    void learn(const QString& directory, const QList<FtpListEntry>& entries);
    // Each step of a path as the server sent it; returns its text.
    QString learnPath(const QByteArray& path);

    // The bytes of a path, absolute or relative to the directory `from`; "." and ".." go as
    // they are and are followed for looking up the steps after them.
    QByteArray spell(const QString& path, const QString& from) const;

private:
    QByteArray spellUnknown(const QString& name) const;

    bool utf8_ = false;
    QHash<QString, QHash<QString, QByteArray>> known_;  // directory → text → bytes
};

}  // namespace quorbin
