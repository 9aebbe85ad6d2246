#pragma once
// The store's files by the names they had on the user's machine: a folder's versions taken
// together as one file each, and a search of the store by original name or path.
#include "engine/versions.h"
#include "platform/job.h"

#include <QList>
#include <QString>
#include <functional>
#include <stop_token>

namespace quorbin {

// One file of a store folder with every version of it found there.
struct StoredFileVersions {
    QString storedName;    // its name in the store without the version suffix
    QString originalName;  // blanks restored
    QString originalPath;  // decoded from the store path, blanks restored
    bool plain = false;    // kept as it is (no version suffix): it is its own only version
    // Oldest first, as the version rules order them. Empty when a version's time cannot be
    // read; `unreadableVersion` then names it.
    QList<VersionCandidate> versions;
    QString unreadableVersion;

    bool hasFirstVersion() const;
    // The version the newest rule restores; nothing without versions.
    const VersionCandidate* newest() const { return versions.isEmpty() ? nullptr : &versions.last(); }
};

struct StoreFolder {
    QList<StoredFileVersions> files;  // by original name, case-blind
    QStringList folders;              // the subfolders' names, case-blind order; linked ones left out
    JobResult listing;                // why the folder could not be read (wholly or in part)
};

// The files of one store folder, from one listing of it.
StoreFolder ReadStoreFolder(const QString& directory);

// Whether the file's original name matches the wildcard pattern ("*", "?", case-blind); a
// pattern with "\" is matched against the whole original path. The marks "¯" count as the
// blanks they stand for and as themselves.
bool MatchesOriginal(const QString& pattern, const StoredFileVersions& file);

struct FindCallbacks {
    std::function<void(const StoredFileVersions&)> found;
    std::function<void(const JobResult&)> unreadable;  // a folder that could not be read
};

// Every file below the store directory whose original name or path matches the pattern, in
// walk order (a folder's files, then its subfolders). Stops early when asked to; false then.
bool FindStoredFiles(const QString& startDirectory, const QString& pattern, const FindCallbacks& callbacks,
                     std::stop_token stop = {});

}  // namespace quorbin
