#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace quorbin {

// How much of a listed time the server gave: MLSD has seconds; a LIST line has minutes for
// recent entries and only the day for older ones.
enum class FtpTimeResolution { Second, Minute, Day };

// One entry of a directory listing.
struct FtpListEntry {
    QString name;
    QByteArray rawName;      // the name's bytes as the server sent them; they go back as they are
    bool directory = false;  // also the listed directory itself (".") and its parent ("..")
    qint64 size = 0;
    QDateTime modified;      // local time; invalid when the server gave none
    FtpTimeResolution resolution = FtpTimeResolution::Second;
    QString type;            // MLSD's type fact as sent ("file", "dir", "OS.unix=symlink" …);
                             // for a LIST line "file", "dir" or "link"
};

}  // namespace quorbin
