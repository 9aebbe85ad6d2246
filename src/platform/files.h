#pragma once
// File services over Windows path texts.
#include <QDateTime>
#include <QString>
#include <optional>

namespace quorbin::platform {

// The system's reason for a failed call, by its errno, in the user's words.
QString systemReason(int errorNumber);

struct Attributes {
    bool readOnly = false;   // no owner write bit
    bool hidden = false;     // the name starts with "."
    bool directory = false;  // a real directory, not a link to one
    bool symlink = false;
};

// Attributes without following a final symlink; nothing when the entry is absent.
std::optional<Attributes> attributes(const QString& path);

// A regular file (through links) that can be opened for reading. Pipes, devices and
// directories are none: reading them could block or never end.
bool fileExists(const QString& path);
bool directoryExists(const QString& path);
// Such a file opened for reading by its host bytes, read with plain calls: a walk reads
// thousands of small files.
class ReadFile {
public:
    explicit ReadFile(const QString& path);  // check isOpen(): false when it is none or cannot be opened
    ~ReadFile();
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // Up to `size` bytes, maybe fewer before the end; 0 at the end, -1 on a read error
    // (errorString tells why).
    qint64 read(char* data, qint64 size);
    QString errorString() const { return systemReason(errorNumber_); }

private:
    int fd_ = -1;
    int errorNumber_ = 0;
};

// Creates every missing folder of the directory.
bool createFolders(const QString& directory);

// Whether both texts name one existing file (also through links or other spellings).
bool isSameFile(const QString& a, const QString& b);

// Whether the path is the directory or lies below it (by host paths, links resolved where
// they exist).
bool liesWithin(const QString& path, const QString& directory);

// Size in bytes of a file; -1 when absent.
qint64 fileSize(const QString& path);

bool removeFile(const QString& path);

// Writes the file system that holds the path (or its nearest existing folder) to the disk;
// the errno of a failed write-back, or 0.
int syncFileSystemOf(const QString& path);


// The directory part of a Windows text, up to and including its last "\" (or ":").
QString directoryPart(const QString& path);
// The name after the last "\" or ":".
QString namePart(const QString& path);
// The text from the last "." after the last "\" or ":", dot included; empty when none.
QString extensionPart(const QString& path);

// Windows texts may be relative; this makes them absolute against the current directory.
QString absolutePath(const QString& path);
// The host path of a Windows text taken against the current directory: what a message names.
QString hostPathOf(const QString& path);

// The host path of an existing file whose name differs only in case, as the store's platform
// finds it: each missing part is taken when exactly one entry matches it case-blind.
// Otherwise the path as it was.
QString caseBlindHostPath(const QString& hostPath);

// Last-write time in local time, two-second resolution, only for 1980 to 2107; nothing for a
// directory, an absent entry, or a time out of that range.
std::optional<QDateTime> lastWriteTime(const QString& path);
// The same of a time in seconds since the epoch, as the system gives it.
std::optional<QDateTime> storeTime(qint64 secondsSinceEpoch);
// Sets the last-write time (odd second dropped); false outside 1980 to 2107 or on failure.
bool setLastWriteTime(const QString& path, const QDateTime& localTime);
// The same through an open file.
bool setLastWriteTime(int fd, const QDateTime& localTime);

}  // namespace quorbin::platform
