#pragma once
// Choosing which stored version of a file to restore.
#include "platform/dirsearch.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <functional>
#include <optional>

namespace quorbin {

// The item index of the radio group "Version".
enum VersionRule { kOriginalVersion = 0, kVersionBeforeDate = 1, kNewestVersion = 2 };

struct VersionCandidate {
    QDateTime time;  // local, two-second resolution
    QString path;
    qint64 size = -1;  // bytes in the store; -1 when it cannot be read
    bool dayOnly = false;  // the listing gave the day only: `time` is its start
};

struct VersionChoice {
    QString versionPath;
    QString dateText;  // the user's date and time of the version (the date alone at midnight)
    QDateTime time;    // the same as a time, for stamping the restored file
    bool afterLimit = false;  // "before a date" found none before it and took the oldest
};

// A version as its directory's listing gave it: the time comes with it where the listing
// had it (a regular file, not a link).
struct ListedVersion {
    QString name;
    std::optional<qint64> lastWriteSeconds;
    qint64 size = -1;
    bool dayOnly = false;  // see DirEntry::dayOnly
};

// Asks the store for the exact last-write time of a version (by its name in the directory)
// whose listing gave the day only.
using ExactTime = std::function<std::optional<qint64>(const QString& name)>;

// The entries of one store directory by the base name whose versions they are (case-blind):
// a directory walk looks versions up here instead of searching the directory for every file,
// and takes their times from the listing instead of asking the disk again.
class VersionIndex {
public:
    // `exactTime`, when given, is asked where days alone cannot choose a version.
    explicit VersionIndex(const QList<platform::DirEntry>& entries, ExactTime exactTime = {});
    QList<ListedVersion> versionsOf(const QString& baseName) const;
    // Every file with versions here, by the base name as spelt in the store: bases that differ
    // in case only are files of their own.
    QStringList baseNames() const;
    // The files with versions but without a first version, each with its version names.
    QList<std::pair<QString, QStringList>> withoutFirstVersion() const;
    // The candidate's exact time asked of the store, when its listing gave the day only and
    // the store can tell; false otherwise.
    bool refine(VersionCandidate& candidate) const;

private:
    QMap<QString, QStringList> namesBySpelling() const;

    QHash<QString, QList<ListedVersion>> byBase_;
    ExactTime exactTime_;
};

// The file's own versions beside its original version (base + "." + five digits + ".nxz"),
// oldest first (ties by path, case-blind). Nothing when one of the matching entries has no
// readable time.
// With an index of the directory, its listing is used instead of a new search.
// `unreadable`, when given, receives the path of the version whose time could not be read.
std::optional<QList<VersionCandidate>> VersionCandidates(const QString& originalPath,
                                                         const VersionIndex* index = nullptr,
                                                         QString* unreadable = nullptr);

// The version to restore under the rule; `limit` (a day count) counts for kVersionBeforeDate
// only. Nothing when no version can be chosen or its time cannot be read.
// Versions listed with their day only are ordered by their days; where that cannot decide (two
// of them on one day, the date limit within such a day), their exact times are asked of the
// index's store, and when it cannot tell, nothing is chosen and `onlyDays` is set. The chosen
// version's exact time is asked too, for its stamp; its day serves when there is none.
std::optional<VersionChoice> SelectVersion(VersionRule rule, const QString& originalPath, double limit,
                                           const VersionIndex* index = nullptr, bool* onlyDays = nullptr);

}  // namespace quorbin
