#pragma once
// Names on this machine's disks are bytes. A store copied from a Windows disk, unpacked from
// a zip or mounted with another character set holds names that are no valid UTF-8: such a
// name is read as Windows-1252, the store platform's code page, and remembered, so that the
// text shown opens the same bytes again.
#include <QByteArray>
#include <QString>

namespace quorbin::platform {

struct EntryName {
    QString text;
    // No valid UTF-8, and its Windows-1252 reading is also the name of another entry of the
    // same directory: the text cannot reach these bytes.
    bool ambiguous = false;
};

// The text of a name's bytes as a directory entry reads: UTF-8, else Windows-1252. For names
// from elsewhere (a server's listing), which no host path stands for.
QString nameText(const QByteArray& raw);

// The text of the directory entry `raw` of the directory at the host path `directory`.
EntryName decodeEntryName(const QString& directory, const QByteArray& raw);

// The bytes to hand the system for a host path: UTF-8, except where a part of the path is a
// name that decodeEntryName read as Windows-1252.
QByteArray hostBytes(const QString& hostPath);

}  // namespace quorbin::platform
