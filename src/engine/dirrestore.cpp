#include "engine/dirrestore.h"

#include "engine/entrypool.h"
#include "engine/restore.h"
#include "engine/storepath.h"
#include "platform/dirsearch.h"
#include "platform/files.h"
#include "platform/replacefile.h"
#include "platform/scratchfiles.h"
#include "platform/userinterface.h"
#include "platform/winpath.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <memory>
#include <thread>


namespace quorbin {

// Besides the workers' files, the download and the window keep a few of their own.
static_assert(kMaxWorkers + 16 <= platform::kMaxScratchFiles);

namespace {

enum class EntryAnswer { None, Proceed, Stop };

const QString kContainerMark = QStringLiteral(".nxz");

// A decoded store path could hold ".." (a name "...00001.nxz", a folder ".§."); such a target
// must not be written anywhere.
// Plain character work: a regular expression matches nothing in a text that is no valid
// UTF-16 (a lone surrogate), which would let ".." through.
bool isSafeTarget(const QString& target)
{
    if (!platform::looksLikeWindowsPath(target))
        return false;
    qsizetype segmentStart = 0;
    for (qsizetype i = 0; i <= target.size(); ++i) {
        if (i < target.size() && target.at(i) != u'\\' && target.at(i) != u'/')
            continue;
        if (QStringView(target).sliced(segmentStart, i - segmentStart) == u"..")
            return false;
        segmentStart = i + 1;
    }
    return true;
}

// The user agrees to replace the existing target (or there is none, or nobody asked).
bool mayReplace(const QString& target, const DirRestore& walk)
{
    if (!walk.ask || walk.dryRun || !platform::fileExists(target))
        return true;
    return ui().ask(QCoreApplication::translate("Engine", "Datei %1 ersetzen?").arg(target),
                    QCoreApplication::translate("Engine", "Datei wiederherstellen, überschreiben?"),
                    Buttons::OkCancel) == Answer::Ok;
}

StoreAccess& storeOf(const DirRestore& walk) { return walk.store ? *walk.store : localStore(); }

QString errorLine(const QString& shownPath) { return "ERROR *****" + shownPath + "--->   nicht rückgesichert"; }

void report(const QString& line, const DirRestore& walk)
{
    walk.reporter.status.setStatus(line);
    walk.reporter.log.appendLine(line);
}

// Whether a target lies in the store, asked once per target folder: the check resolves links
// along the whole path, and every file of a store folder goes to the same target folder. A
// link as the target file itself is no way into the store: the restore renames over the link.
// A worker takes turns between a few folders, so it remembers a few.
struct StoreCheck {
    QString startDirectory;
    QString targetDirectory;
    bool inside = false;
};
constexpr std::size_t kStoreChecksKept = 4;
thread_local std::array<StoreCheck, kStoreChecksKept> storeChecks;
thread_local std::size_t nextStoreCheck = 0;

void forgetStoreChecks() { storeChecks = {}; }

bool targetInStore(const QString& target, const DirRestore& walk)
{
    const QString directory = platform::directoryPart(target);
    for (const StoreCheck& kept : storeChecks)
        if (kept.targetDirectory == directory && kept.startDirectory == walk.startDirectory && !directory.isEmpty())
            return kept.inside;
    StoreCheck& check = storeChecks[nextStoreCheck++ % kStoreChecksKept];
    check = StoreCheck{walk.startDirectory, directory, TargetInsideStore(directory, walk.startDirectory)};
    return check.inside;
}

// The fixed ERROR line, with the cause after it.
QString errorLine(const QString& shownPath, const JobResult& result)
{
    QString cause = result.message;
    if (result.kind == ErrorKind::TargetNotWritable && !result.path.isEmpty())
        cause = describe(result);
    return errorLine(shownPath) + (cause.isEmpty() ? QString() : " (" + cause + ")");
}

// The version to restore and how the restore went; the result's failure names why.
JobResult restoreChosenVersion(const QString& entryPath, const QString& target, const DirRestore& walk,
                               const VersionIndex* index, VersionChoice& choice)
{
    if (target.isEmpty() && !walk.verifyOnly)
        return JobResult::failure(ErrorKind::Refused,
                                  QCoreApplication::translate("Engine", "Ziel liegt außerhalb des Zielverzeichnisses"));
    bool onlyDays = false;
    const auto chosen = SelectVersion(walk.rule, entryPath, walk.versionLimit, index, &onlyDays);
    if (!chosen)
        return JobResult::failure(
            ErrorKind::SourceUnreadable,
            onlyDays ? QCoreApplication::translate("Engine", "der Server nennt das Datum dieser Datei nur auf den Tag genau")
                     : QCoreApplication::translate("Engine", "keine passende Version"));
    choice = *chosen;
    if (!walk.verifyOnly && targetInStore(target, walk))
        return JobResult::failure(ErrorKind::Refused,
                                  QCoreApplication::translate("Engine", "Ziel liegt in der Datensicherung"));
    if (choice.afterLimit && walk.warn)
        walk.warn(QCoreApplication::translate("Engine", "keine Version vor dem Datum, die älteste genommen: %1 (%2)")
                      .arg(choice.versionPath, choice.dateText));
    if (!mayReplace(target, walk))
        return JobResult::failure(ErrorKind::Refused, QCoreApplication::translate("Engine", "nicht ersetzt"));
    const QString key = walk.key ? walk.key() : QString();
    const JobContext context{walk.stop, walk.reporter};
    if (walk.dryRun || walk.verifyOnly)
        return storeOf(walk).verify(choice.versionPath, key, context);
    // Stamped from the version's time itself, not from its text, which may not read back.
    return storeOf(walk).restore(choice.versionPath, target, key, choice.time, context);
}

// A step's result; what it throws is that entry's failure, not the walk's end.
JobResult guarded(const std::function<JobResult()>& step)
{
    try {
        return step();
    } catch (const std::exception& e) {
        return JobResult::failure(ErrorKind::SourceUnreadable, QString::fromLocal8Bit(e.what()));
    }
}

// The entry's line in the log and the status, and its result for the caller.
void entryDone(const QString& line, const QString& shownPath, const JobResult& result, const DirRestore& walk)
{
    report(line, walk);
    if (walk.fileDone)
        walk.fileDone(shownPath, result);
}

void restoreStoredEntry(const QString& entryPath, const QString& target, const DirRestore& walk,
                        const VersionIndex* index)
{
    VersionChoice choice;
    const JobResult result = guarded([&] { return restoreChosenVersion(entryPath, target, walk, index, choice); });
    QString shownPath = target.isEmpty() ? entryPath : target;
    if (!target.isEmpty() && walk.rule == kOriginalVersion)
        shownPath = entryPath;
    if (!choice.versionPath.isEmpty())
        shownPath = choice.versionPath;
    entryDone(result.ok() ? shownPath + "--->   " + choice.dateText + " " + target : errorLine(shownPath, result),
              shownPath, result, walk);
}

// One stored version read through, whatever the others are; for checks of every version.
void verifyStoredVersion(const QString& versionPath, const DirRestore& walk)
{
    const JobResult result = guarded([&] {
        return storeOf(walk).verify(versionPath, walk.key ? walk.key() : QString(), JobContext{walk.stop, walk.reporter});
    });
    entryDone(result.ok() ? versionPath : errorLine(versionPath, result), versionPath, result, walk);
}

void copyUncompressedEntry(const QString& entryPath, const QString& target, const DirRestore& walk)
{
    JobResult result;
    if (target.isEmpty())
        result = JobResult::failure(
            ErrorKind::Refused, QCoreApplication::translate("Engine", "Ziel liegt außerhalb des Zielverzeichnisses"));
    else if (targetInStore(target, walk))
        result = JobResult::failure(ErrorKind::Refused,
                                    QCoreApplication::translate("Engine", "Ziel liegt in der Datensicherung"));
    else if (!mayReplace(target, walk) || walk.dryRun)
        return;
    else
        result = storeOf(walk).copyPlain(entryPath, target, JobContext{walk.stop, walk.reporter});
    // A copy that worked stays silent, as it always did; one that failed must not.
    if (!result.ok())
        entryDone(errorLine(entryPath, result), entryPath, result, walk);
}

}  // namespace

QString DirEntryTarget(const QString& entryPath, const DirRestore& walk)
{
    const QString decoded = DecodeStoreFile(entryPath);
    QString target = decoded;
    if (!walk.newStartDirectory.isEmpty())
        target = walk.newStartDirectory + decoded.mid(DecodeStoreDir(walk.startDirectory).size(), 10000);
    target = RestoreBlanks(target);
    return isSafeTarget(target) && DecodesWhole(entryPath) ? target : QString();
}

void RestoreDirEntry(const QString& entryPath, const DirRestore& walk, const VersionIndex* index)
{
    if (walk.verifyOnly && walk.everyVersion) {
        if (HasVersionSuffix(entryPath))
            verifyStoredVersion(entryPath, walk);
    } else if (entryPath.contains(kFirstVersionSuffix))
        restoreStoredEntry(entryPath, DirEntryTarget(entryPath, walk), walk, index);
    else if (!entryPath.contains(kContainerMark) && !walk.verifyOnly)
        copyUncompressedEntry(entryPath, DirEntryTarget(entryPath, walk), walk);
    // Later versions are handled through their original version.
}

namespace {

// An entry the walk cannot even look at gets the ERROR line of a file that failed.
void reportUnreachable(const QString& path, const JobResult& result, const DirRestore& walk)
{
    report(errorLine(path, result), walk);
    if (walk.fileDone)
        walk.fileDone(path, result);
}

// So does a folder that cannot be read, but its files are unknown: it is counted apart.
void reportUnreadFolder(const QString& folder, const JobResult& result, const DirRestore& walk)
{
    report(errorLine(folder, result), walk);
    if (walk.folderUnread)
        walk.folderUnread(folder, result);
}

// Longer names than any file system of the store's platform takes.
constexpr qsizetype kMaxNameLength = 255;

// A name that cannot be one step of a path: "/" or "\" would reach into other folders, ".."
// above this one, control characters rewrite what a log or terminal shows. No Windows store
// holds such names; the listing of a server may send anything.
bool isUsableName(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u".." || name.size() > kMaxNameLength)
        return false;
    return std::none_of(name.cbegin(), name.cend(), [](QChar c) {
        return c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7f;
    });
}

// The name as the log may show it: control characters as "?", cut after the longest name.
QString shownName(const QString& name)
{
    QString shown = name.left(kMaxNameLength);
    for (QChar& c : shown)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u'?';
    return shown.size() < name.size() ? shown + QStringLiteral("…") : shown;
}

void reportLaterVersionsOnly(const QString& directory, const VersionIndex& index, const DirRestore& walk)
{
    if (!walk.laterVersionsOnly || walk.everyVersion)
        return;
    for (const auto& [base, names] : index.withoutFirstVersion())
        walk.laterVersionsOnly(directory + u'\\' + base, names);
}

}  // namespace

namespace {

// Where the walk hands its units (with the store folder they belong to): to be done at once,
// or by a pool.
using Dispatch = std::function<void(EntryPool::Unit, const QString& folder)>;

void walkTree(const QString& directory, const DirRestore& walk, const Dispatch& dispatch)
{
    QList<platform::DirEntry> entries;
    const JobResult listed = storeOf(walk).list(directory, entries);
    forgetStoreChecks();  // links may have changed since this thread last looked
    if (!listed.ok())
        dispatch([directory, listed](const DirRestore& w) { reportUnreadFolder(directory, listed, w); }, directory);
    // Shared with the units that may still run after this level is walked.
    const auto index = std::make_shared<const VersionIndex>(
        entries, [&store = storeOf(walk), directory](const QString& name) {
            return store.exactTime(directory + u'\\' + name);
        });
    dispatch([directory, index](const DirRestore& w) { reportLaterVersionsOnly(directory, *index, w); }, directory);
    for (const platform::DirEntry& entry : entries) {
        const QString path = directory + u'\\' + entry.name;
        try {
            if (!isUsableName(entry.name))
                dispatch(
                    [shown = directory + u'\\' + shownName(entry.name)](const DirRestore& w) {
                        reportUnreachable(shown,
                                          JobResult::failure(ErrorKind::Refused, QCoreApplication::translate(
                                                                                     "Engine", "unzulässiger Name")),
                                          w);
                    },
                    directory);
            else if (entry.ambiguousName)
                dispatch(
                    [path](const DirRestore& w) {
                        reportUnreachable(
                            path,
                            JobResult::failure(ErrorKind::SourceUnreadable,
                                               QCoreApplication::translate("Engine",
                                                                           "Name ist kein UTF-8 und liest sich wie ein "
                                                                           "anderer Name dieses Verzeichnisses")),
                            w);
                    },
                    directory);
            else if (entry.directory)
                walkTree(path, walk, dispatch);
            else if (!entry.symlink || !platform::directoryExists(path))  // never follow a linked directory
                dispatch([path, index](const DirRestore& w) { RestoreDirEntry(path, w, index.get()); }, directory);
        } catch (...) {
            // One entry's failure never ends the walk.
        }
        if (walk.stop.stop_requested())
            break;
    }
}

}  // namespace

void RestoreDirTree(const QString& directory, const DirRestore& walk)
{
    walkTree(directory, walk, [&walk](const EntryPool::Unit& unit, const QString&) {
        try {
            unit(walk);
        } catch (...) {
            // One entry's failure never ends the walk.
        }
    });
}

void RestoreDirTreeOn(const QString& directory, const DirRestore& walk, int workers)
{
    // Questions come one at a time, in walk order: only a walk on one thread asks them so.
    if (workers <= 1 || walk.ask) {
        RestoreDirTree(directory, walk);
        return;
    }
    EntryPool pool(walk, workers);
    walkTree(directory, walk,
             [&pool](EntryPool::Unit unit, const QString& folder) { pool.run(std::move(unit), folder); });
    pool.finish();
}

StoredFileCount CountStoredFiles(const QString& directory, std::stop_token stop, StoreAccess& store,
                                 bool everyVersion)
{
    StoredFileCount count;
    QList<platform::DirEntry> entries;
    store.list(directory, entries);
    for (const platform::DirEntry& entry : entries) {
        if (stop.stop_requested())
            break;
        const QString path = directory + u'\\' + entry.name;
        if (entry.directory) {
            const StoredFileCount below = CountStoredFiles(path, stop, store, everyVersion);
            count.files += below.files;
            count.bytes += below.bytes;
        } else if (everyVersion ? HasVersionSuffix(path) : path.contains(kFirstVersionSuffix)) {
            ++count.files;
            count.bytes += std::max<qint64>(0, entry.size >= 0 ? entry.size : platform::fileSize(path));
        }
    }
    return count;
}

bool TargetInsideStore(const QString& target, const QString& startDirectory)
{
    return platform::liesWithin(RestoreBlanks(target), StoreSetFolder(startDirectory));
}

TargetRefusal RefusedTargets(const QString& newStartDirectory, const QString& startDirectory)
{
    if (!newStartDirectory.isEmpty() && !platform::isAbsoluteWindowsPath(newStartDirectory))
        return TargetRefusal::NotAbsolute;
    if (!newStartDirectory.isEmpty())
        return TargetInsideStore(newStartDirectory, startDirectory) ? TargetRefusal::InsideStore : TargetRefusal::None;
    return platform::onWholeHostDrive(DecodeStoreDir(startDirectory)) ? TargetRefusal::WholeHost : TargetRefusal::None;
}

bool RestoreDirectory(const DirRestore& walk, const std::function<void()>& beforeWalk, int workers)
{
    walk.reporter.log.appendLine(QStringLiteral("start"));
    struct Finish {
        const DirRestore& walk;
        ~Finish() { walk.reporter.log.appendLine(QStringLiteral("fertig")); }
    } finish{walk};
    if (!walk.verifyOnly && RefusedTargets(walk.newStartDirectory, walk.startDirectory) != TargetRefusal::None)
        return false;
    if (beforeWalk)
        beforeWalk();
    if (!walk.stop.stop_requested())
        RestoreDirTreeOn(walk.startDirectory, walk, workers);
    return true;
}

namespace {

// "1 Datei …" or "N Dateien …" as whole sentences, so that each language says them its own
// way; the count fills %1 of the second, the next argument goes to %2.
QString counted(qint64 count, const char* one, const char* many)
{
    return count == 1 ? QCoreApplication::translate("Engine", one)
                      : QCoreApplication::translate("Engine", many).arg(count);
}

// The walk's progress: every file's own byte count goes on top of what the files before it
// brought; the failures are counted, the first one kept for the result.
class WalkProgress : public ProgressSink {
public:
    explicit WalkProgress(ProgressSink& job) : job_(job) {}

    void advanced(qint64, qint64 bytes) override
    {
        current_ = bytes;
        job_.advanced(files_, bytes_ + bytes);
    }
    void setPosition(int position) override { job_.setPosition(position); }
    void setMarquee(bool on) override { job_.setMarquee(on); }

    void fileDone(const JobResult& result)
    {
        ++files_;
        // Only a restored version was read whole; its last report tells how much that was.
        if (result.ok()) {
            bytes_ += current_;
            ++restored_;
        }
        current_ = 0;
        job_.advanced(files_, bytes_);
        if (!result.ok() && ++failures_ == 1 && unreadFolders_ == 0)
            firstFailure_ = result;
    }

    void folderUnread(const JobResult& result)
    {
        if (++unreadFolders_ == 1 && failures_ == 0)
            firstFailure_ = result;
    }

    void laterVersionsOnly() { ++laterOnly_; }

    qint64 restored() const { return restored_; }

    // writtenTo: the host folder the files went to, or empty where nothing was written.
    JobResult outcome(bool stopped, const QString& writtenTo) const
    {
        QStringList notes;
        if (!writtenTo.isEmpty() && restored_ > 0)
            notes << counted(restored_, QT_TRANSLATE_NOOP("Engine", "1 Datei wiederhergestellt nach %2"),
                             QT_TRANSLATE_NOOP("Engine", "%1 Dateien wiederhergestellt nach %2"))
                         .arg(writtenTo);
        if (stopped) {
            JobResult cancelled = JobResult::cancelled();
            if (!notes.isEmpty())
                cancelled.message += QStringLiteral("; ") + notes.first();
            return cancelled;
        }
        if (laterOnly_ > 0)
            notes << counted(laterOnly_,
                             QT_TRANSLATE_NOOP("Engine", "1 Datei nur mit späteren Versionen, ohne erste Version übergangen"),
                             QT_TRANSLATE_NOOP("Engine", "%1 Dateien nur mit späteren Versionen, ohne erste Version übergangen"));
        if (failures_ == 0 && unreadFolders_ == 0) {
            JobResult done = JobResult::success();
            done.message = notes.join(QStringLiteral("; "));
            return done;
        }
        if (failures_ > 0)
            notes << counted(failures_, QT_TRANSLATE_NOOP("Engine", "1 Datei nicht wiederhergestellt"),
                             QT_TRANSLATE_NOOP("Engine", "%1 Dateien nicht wiederhergestellt"));
        if (unreadFolders_ > 0)
            notes << counted(unreadFolders_,
                             QT_TRANSLATE_NOOP("Engine", "1 Ordner nicht gelesen, die Dateien darin unbekannt"),
                             QT_TRANSLATE_NOOP("Engine", "%1 Ordner nicht gelesen, die Dateien darin unbekannt"));
        notes.last() += QCoreApplication::translate("Engine", ", zuerst: %1").arg(firstFailure_.message);
        return JobResult::failure(firstFailure_.kind, notes.join(QStringLiteral("; ")), firstFailure_.path);
    }

private:
    ProgressSink& job_;
    qint64 files_ = 0;
    qint64 bytes_ = 0;
    qint64 current_ = 0;  // the file in hand's bytes so far
    qint64 failures_ = 0;
    qint64 unreadFolders_ = 0;
    qint64 laterOnly_ = 0;
    qint64 restored_ = 0;
    JobResult firstFailure_;
};

}  // namespace

JobResult DirRestoreJob::run(const JobContext& context)
{
    ProgressSink& progress = context.report.progress;
    WalkProgress walkProgress(progress);
    const DirRestore walk{options_.newStartDirectory,
                          options_.startDirectory,
                          options_.rule,
                          options_.ask && !options_.verifyOnly,
                          options_.versionLimit,
                          RestoreReporter{context.report.status, context.report.log, walkProgress},
                          options_.key,
                          options_.dryRun || options_.verifyOnly,
                          [this, &walkProgress](const QString& shownPath, const JobResult& result) {
                              walkProgress.fileDone(result);
                              if (options_.fileDone)
                                  options_.fileDone(shownPath, result);
                          },
                          context.stop,
                          options_.warn,
                          [this, &walkProgress](const QString& basePath, const QStringList& versionNames) {
                              walkProgress.laterVersionsOnly();
                              if (options_.warn)
                                  options_.warn(
                                      QCoreApplication::translate(
                                          "Engine",
                                          "nur spätere Versionen, die erste fehlt, nicht wiederhergestellt: %1 (%2)")
                                          .arg(basePath, versionNames.join(QStringLiteral(", "))));
                          },
                          options_.verifyOnly,
                          options_.everyVersion && options_.verifyOnly,
                          options_.store.get(),
                          [this, &walkProgress](const QString& folder, const JobResult& result) {
                              walkProgress.folderUnread(result);
                              if (options_.folderUnread)
                                  options_.folderUnread(folder, result);
                          }};
    // Counted after "start", so the log shows at once that the restore began.
    const auto countTotals = [&] {
        const StoredFileCount total =
            options_.countTotals ? CountStoredFiles(options_.startDirectory, context.stop, storeOf(walk), walk.everyVersion)
                                 : StoredFileCount();
        progress.started(total.files, total.bytes);
    };
    // Each worker holds one scratch file; the clean-up table must hold them all.
    const int workers = std::min(kMaxWorkers, options_.jobs > 0 ? options_.jobs
                                                                : int(std::max(1u, std::thread::hardware_concurrency())));
    if (!RestoreDirectory(walk, countTotals, workers)) {
        progress.finished();
        switch (RefusedTargets(walk.newStartDirectory, walk.startDirectory)) {
        case TargetRefusal::WholeHost:
            return JobResult::failure(ErrorKind::Refused, QCoreApplication::translate(
                                                              "Engine", "die Ziele lägen auf dem ganzen System (Z:)"));
        case TargetRefusal::NotAbsolute:
            return JobResult::failure(
                ErrorKind::Refused,
                QCoreApplication::translate("Engine", "das neue Startverzeichnis ist kein absoluter Pfad: %1")
                    .arg(walk.newStartDirectory));
        default:
            return JobResult::failure(
                ErrorKind::Refused,
                QCoreApplication::translate("Engine", "das neue Startverzeichnis liegt in der Datensicherung"),
                platform::toHostPath(walk.newStartDirectory));
        }
    }
    // The many new files reach the disk once, at the end, rather than one by one; a disk that
    // cannot take them must not pass for a restore that worked.
    const QString written = options_.newStartDirectory.isEmpty() ? DecodeStoreDir(options_.startDirectory)
                                                                 : options_.newStartDirectory;
    const int syncError = walk.dryRun ? 0 : platform::syncFileSystemOf(written);
    progress.finished();
    // The log's lines name Windows paths; this one tells where they are on this machine.
    const QString writtenTo = walk.dryRun ? QString() : platform::toHostPath(written);
    if (walkProgress.restored() > 0 && !writtenTo.isEmpty())
        context.report.log.appendLine(QStringLiteral("wiederhergestellt nach: ") + writtenTo);
    JobResult outcome = walkProgress.outcome(context.stopRequested(), writtenTo);
    if (syncError != 0 && outcome.ok())
        return platform::targetNotWritable(platform::systemReason(syncError), written);
    return outcome;
}

}  // namespace quorbin
