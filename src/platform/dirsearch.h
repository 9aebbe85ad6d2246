#pragma once
// Directory search with a wildcard pattern over entries of every kind.
#include <QList>
#include <QString>
#include <optional>

namespace quorbin::platform {

struct DirEntry {
    QString name;
    bool directory = false;  // a real directory; a link to one is not
    bool symlink = false;
    bool hidden = false;
    bool readOnly = false;
    bool ambiguousName = false;  // see EntryName::ambiguous
    // Of a regular file (not a link): its size and last-write time (seconds since the epoch)
    // from the listing itself, so that a walk need not ask for them again. -1 and nothing
    // otherwise.
    qint64 size = -1;
    std::optional<qint64> lastWriteSeconds;
    // The listing gave the day only (an FTP server's LIST line for an older file):
    // lastWriteSeconds is that day's local midnight.
    bool dayOnly = false;
};

struct DirListing {
    QList<DirEntry> entries;
    int error = 0;  // the errno why the directory could not be read; 0 when it was
};

// The entries of the pattern's directory whose names match its last part ("*" and "?",
// case-blind; "*.*" matches every name, a trailing ".*" also matches no extension).
// "." and ".." are never returned; the order is the host's. Names that are no valid UTF-8
// come as their Windows-1252 reading (hostnames.h).
DirListing listEntries(const QString& pattern);
// The same, empty when the directory cannot be read.
QList<DirEntry> findEntries(const QString& pattern);

bool wildcardMatches(const QString& pattern, const QString& name);

}  // namespace quorbin::platform
