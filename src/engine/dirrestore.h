#pragma once
// Restoring everything below one store directory, depth first.
#include "engine/storeaccess.h"
#include "engine/versions.h"
#include "platform/job.h"
#include "platform/reporter.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace quorbin {

// What the walk carries unchanged from level to level.
struct DirRestore {
    QString newStartDirectory;  // empty: original paths; else ends in "\"
    QString startDirectory;     // where the whole restore began, to cut target paths
    VersionRule rule = kNewestVersion;
    bool ask = false;           // ask before replacing an existing file
    double versionLimit = 0;    // day count, for kVersionBeforeDate
    RestoreReporter reporter;
    std::function<QString()> key;  // read anew for every stored file
    // Log what would be restored and write nothing; each chosen version is read to its end
    // all the same, so that one a restore would fail on gets its ERROR line.
    bool dryRun = false;
    // Told after each stored file (and each plain entry that failed) with the path its line
    // shows and how it ended; may be empty.
    std::function<void(const QString& shownPath, const JobResult& result)> fileDone;
    std::stop_token stop;  // set: the file in hand is cut, and the walk ends at every level
    // Told what the log does not show, such as a version taken from after the date limit
    // because none lay before it; may be empty.
    std::function<void(const QString& warning)> warn;
    // Told of a file whose store folder holds later versions but not the first one: the walk
    // restores a file through its first version only, so this one stays behind. May be empty.
    std::function<void(const QString& basePath, const QStringList& versionNames)> laterVersionsOnly;
    // With dryRun: only the store is read, no target is looked at (plain entries are passed
    // over), and with everyVersion each stored version is read, not the one the rule chooses.
    bool verifyOnly = false;
    bool everyVersion = false;
    StoreAccess* store = nullptr;  // null: the store on this machine's disks
    // Told of a store folder that could not be read (its ERROR line is in the log): its files
    // are unknown, so it is no file that failed. May be empty.
    std::function<void(const QString& folder, const JobResult& result)> folderUnread{};
};

// Walks one directory level and everything below it. Stops after the entry in hand once
// the stop token is set.
void RestoreDirTree(const QString& directory, const DirRestore& walk);
// The same with the files restored by `workers` threads; everything the walk tells comes in
// the same order, from the calling thread. A walk that asks before replacing runs on one.
void RestoreDirTreeOn(const QString& directory, const DirRestore& walk, int workers);

// Handles one entry that is not a directory; the index of its directory saves a search for
// the versions of a stored file.
void RestoreDirEntry(const QString& entryPath, const DirRestore& walk, const VersionIndex* index = nullptr);

// The target of an entry; empty when it would leave the new start directory or its drive.
QString DirEntryTarget(const QString& entryPath, const DirRestore& walk);

// How many stored files (original versions) lie below the directory and their container
// bytes, walked as RestoreDirTree walks; for progress displays.
struct StoredFileCount {
    qint64 files = 0;
    qint64 bytes = 0;
};
// Ends early, with what it counted so far, once the stop token is set. With everyVersion,
// every stored version counts.
StoredFileCount CountStoredFiles(const QString& directory, std::stop_token stop = {},
                                 StoreAccess& store = localStore(), bool everyVersion = false);

// "Zurückladen" as a whole: "start", the walk from the start directory, "fertig" (also when
// an error ends the walk early).
// Refuses (false, nothing walked) targets that RefusedTargets refuses. `beforeWalk`, when
// given, runs after "start". `workers` as for RestoreDirTreeOn.
bool RestoreDirectory(const DirRestore& walk, const std::function<void()>& beforeWalk = {}, int workers = 1);

// Why a walk must not write where it would: below the store's set folder (a new start
// directory inside the store, its blank marks read as blanks, links followed), or across the
// host's whole file system (original paths on Z:, which the user did not map), or to a new
// start directory that is no absolute path (every file would fail on its own).
enum class TargetRefusal { None, InsideStore, WholeHost, NotAbsolute };
TargetRefusal RefusedTargets(const QString& newStartDirectory, const QString& startDirectory);

// Whether one target lies below the store's set folder of the start directory.
bool TargetInsideStore(const QString& target, const QString& startDirectory);

inline constexpr int kMaxWorkers = 32;

// "Zurückladen" as a job: counts what lies below the start directory for the progress
// totals, then walks. Its result is a success, "abgebrochen", or the numbers of files not
// restored and of folders not read (with the first failure's kind). A success names, as its message, the files that
// had later versions only.
class DirRestoreJob : public Job {
public:
    struct Options {
        QString newStartDirectory;  // empty: original paths; else ends in "\"
        QString startDirectory;
        VersionRule rule = kNewestVersion;
        bool ask = false;
        double versionLimit = 0;
        std::function<QString()> key;
        bool dryRun = false;
        bool countTotals = true;  // walk the tree once before, for the progress totals
        // Also told of each file with later versions only.
        std::function<void(const QString& warning)> warn;
        int jobs = 0;  // threads that restore; 0: one per core; at most kMaxWorkers
        bool verifyOnly = false;  // as in DirRestore; implies dryRun
        bool everyVersion = false;
        std::shared_ptr<StoreAccess> store;  // null: the local disks
        // Also told after each file, as DirRestore::fileDone.
        std::function<void(const QString& shownPath, const JobResult& result)> fileDone;
        // Also told of each folder that could not be read, as DirRestore::folderUnread.
        std::function<void(const QString& folder, const JobResult& result)> folderUnread{};
    };
    explicit DirRestoreJob(Options options) : options_(std::move(options)) {}
    JobResult run(const JobContext& context) override;

private:
    Options options_;
};

}  // namespace quorbin
