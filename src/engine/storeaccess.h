#pragma once
// Where a walk reads the store: the local disk, or a copy of the store somewhere else (the
// FTP mirror). The walk names store paths as Windows paths of the store either way; the
// access maps them to wherever the files really are. One access serves every worker of a
// walk at once.
#include "platform/dirsearch.h"
#include "platform/job.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace quorbin {

class StoreAccess {
public:
    virtual ~StoreAccess() = default;

    // The entries of one store directory, each file with its size and last-write time where
    // the listing has them. A directory that cannot be read fails with the reason and the
    // place it names for the user.
    virtual JobResult list(const QString& directory, QList<platform::DirEntry>& entries) = 0;
    // One stored version deciphered, expanded and put in the target's place (its folders
    // made), stamped with `stamp` when it is valid. An existing target is replaced only once
    // the whole stream and its checksum were read.
    virtual JobResult restore(const QString& versionPath, const QString& target, const QString& key,
                              const QDateTime& stamp, const JobContext& context) = 0;
    // One stored version read to its end, deciphered and expanded to nowhere: fails as a
    // restore of it would, with the cause.
    virtual JobResult verify(const QString& versionPath, const QString& key, const JobContext& context) = 0;
    // A plain entry (no container) copied to the target with its last-write time, folders made.
    virtual JobResult copyPlain(const QString& source, const QString& target, const JobContext& context) = 0;
    // The last-write time (seconds since the epoch) of a file whose listing gave the day only,
    // asked of the store itself; nothing when it cannot tell.
    virtual std::optional<qint64> exactTime(const QString& /*path*/) { return std::nullopt; }
    // Whether two workers may read in one store folder at once. Files made side by side in
    // one local folder wait for each other in the file system; a remote store waits on the
    // network instead and gains from it.
    virtual bool sharesFolders() const { return false; }
};

// The store on this machine's disks.
StoreAccess& localStore();

}  // namespace quorbin
