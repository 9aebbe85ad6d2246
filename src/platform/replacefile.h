#pragma once
// Writing a file that replaces another only when the writing succeeded.
//
// The new content goes into a fresh file in the target's folder, unnamed where the file system
// can (O_TMPFILE); commit() puts it in the target's place, linked in as a new file or renamed
// over the old one. Until then, and after any failure, the target is as it was.
#include "platform/files.h"
#include "platform/job.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

namespace quorbin::platform {

class ReplacementFile {
public:
    // Creates the fresh file in the target's directory; check isOpen().
    explicit ReplacementFile(const QString& target);
    ~ReplacementFile();  // removes the fresh file unless it was committed
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // Writes all of it; false (with the reason in errorString) when the file system refused.
    bool write(const char* data, qint64 size);
    // Stamps the fresh file's last-write time (see setLastWriteTime of files.h).
    bool setLastWriteTime(const QDateTime& localTime);

    // Closes the fresh file and renames it over the target; false leaves the target alone.
    bool commit();

    // Why the fresh file could not be made, written or put in place.
    QString errorString() const;

private:
    bool nameUnnamedFile();
    bool closeAfterCommit();

    QString target_;
    QString path_;  // empty while the fresh file has no name
    int fd_ = -1;  // written with plain calls: a walk writes thousands of small files
    bool committed_ = false;
    int scratchPlace_ = -1;
    int errorNumber_ = 0;
};

// Why an existing target must not be replaced: a directory, or read-only; nothing when it may.
std::optional<QString> whyNotReplaceable(const QString& target);
// The same of an existing entry's attributes.
std::optional<QString> whyNotReplaceable(const Attributes& existing);

// The failure of a target that cannot be written, with the reason, naming its host path.
JobResult targetNotWritable(const QString& reason, const QString& target);

// Puts a finished file in the target's place by renaming it, with the permissions a
// ReplacementFile gives. False (nothing changed) when the two lie on different file systems
// or the rename fails otherwise.
bool renameReplacing(const QString& finished, const QString& target);

}  // namespace quorbin::platform
