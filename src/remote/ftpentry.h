#pragma once
#include <QDateTime>
#include <QString>

namespace quorbin {

// One entry of a machine-readable directory listing.
struct FtpListEntry {
    QString name;
    bool directory = false;  // also the listed directory itself (".") and its parent ("..")
    qint64 size = 0;
    QDateTime modified;      // local time; invalid when the server gave none
    QString type;            // the server's type fact as sent: "file", "dir", "OS.unix=symlink" …
};

}  // namespace quorbin
