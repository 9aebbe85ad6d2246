#include "engine/dirrestore.h"

#include "engine/restore.h"
#include "engine/storepath.h"
#include "platform/abort.h"
#include "platform/dirsearch.h"
#include "platform/files.h"
#include "platform/userinterface.h"
#include "platform/winpath.h"

#include <QRegularExpression>

namespace quorbin {
namespace {

enum class EntryAnswer { None, Proceed, Stop };

const QString kOriginalVersionMark = QStringLiteral(".00001.nxz");
const QString kContainerMark = QStringLiteral(".nxz");

// A decoded store path could hold ".." (a name "...00001.nxz", a folder ".§."); such a target
// must not be written anywhere.
bool isSafeTarget(const QString& target)
{
    if (!platform::looksLikeWindowsPath(target))
        return false;
    for (const QString& segment : target.split(QRegularExpression(QStringLiteral("[\\\\/]"))))
        if (segment == u"..")
            return false;
    return true;
}

// The user agrees to replace the existing target (or there is none, or nobody asked).
bool mayReplace(const QString& target, const DirRestore& walk)
{
    if (!walk.ask || walk.dryRun || !platform::fileExists(target))
        return true;
    return ui().ask("Datei " + target + " ersetzen?", QStringLiteral("Datei wiederherstellen, überschreiben?"),
                    Buttons::OkCancel) == Answer::Ok;
}

// Every name of the directory; a drive ("X:") takes the pattern without a separator.
QString searchPattern(const QString& directory)
{
    return directory.endsWith(u':') ? directory + "*.*" : directory + "\\*.*";
}

QString errorLine(const QString& shownPath) { return "ERROR *****" + shownPath + "--->   nicht rückgesichert"; }

void report(const QString& line, const DirRestore& walk)
{
    walk.reporter.status.setStatus(line);
    walk.reporter.log.appendLine(line);
}

void restoreStoredEntry(const QString& entryPath, const QString& target, const DirRestore& walk,
                        const VersionIndex* index)
{
    EntryAnswer answer = EntryAnswer::None;
    QString dateText;
    QString shownPath = target.isEmpty() ? entryPath : target;
    if (!target.isEmpty()) {
        if (walk.rule == kOriginalVersion)
            shownPath = entryPath;
        if (const auto choice = SelectVersion(walk.rule, entryPath, walk.versionLimit, index)) {
            shownPath = choice->versionPath;
            dateText = choice->dateText;
            answer = mayReplace(target, walk) ? EntryAnswer::Proceed : EntryAnswer::Stop;
            if (answer == EntryAnswer::Proceed && !walk.dryRun) {
                try {
                    const QString key = walk.key ? walk.key() : QString();
                    if (RestoreStoredFile(choice->versionPath, target, key, walk.reporter.status, dateText) != 0)
                        answer = EntryAnswer::Stop;
                } catch (...) {
                    answer = EntryAnswer::Stop;
                }
            }
        }
    }
    const bool restored = !dateText.isEmpty() && answer == EntryAnswer::Proceed;
    report(restored ? shownPath + "--->   " + dateText + " " + target : errorLine(shownPath), walk);
    if (walk.fileDone)
        walk.fileDone(shownPath, restored);
    pumpEvents();
}

void copyUncompressedEntry(const QString& entryPath, const QString& target, const DirRestore& walk)
{
    if (target.isEmpty()) {
        report(errorLine(entryPath), walk);
        return;
    }
    if (!mayReplace(target, walk) || walk.dryRun)
        return;
    CopyOrExpand(entryPath, target, true, kReplaceExisting);
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
    if (entryPath.contains(kOriginalVersionMark))
        restoreStoredEntry(entryPath, DirEntryTarget(entryPath, walk), walk, index);
    else if (!entryPath.contains(kContainerMark))
        copyUncompressedEntry(entryPath, DirEntryTarget(entryPath, walk), walk);
    // Later versions are handled through their original version.
}

void RestoreDirTree(const QString& directory, const DirRestore& walk)
{
    const QList<platform::DirEntry> entries = platform::findEntries(searchPattern(directory));
    const VersionIndex index(entries);
    for (const platform::DirEntry& entry : entries) {
        const QString path = directory + u'\\' + entry.name;
        try {
            if (entry.directory)
                RestoreDirTree(path, walk);
            else if (!entry.symlink || !platform::directoryExists(path))  // never follow a linked directory
                RestoreDirEntry(path, walk, &index);
        } catch (...) {
            // One entry's failure never ends the walk.
        }
        if (AbortRequested)
            break;
    }
}

StoredFileCount CountStoredFiles(const QString& directory)
{
    StoredFileCount count;
    for (const platform::DirEntry& entry : platform::findEntries(searchPattern(directory))) {
        const QString path = directory + u'\\' + entry.name;
        if (entry.directory) {
            const StoredFileCount below = CountStoredFiles(path);
            count.files += below.files;
            count.bytes += below.bytes;
        } else if (path.contains(kOriginalVersionMark)) {
            ++count.files;
            count.bytes += std::max<qint64>(0, platform::fileSize(path));
        }
    }
    return count;
}

bool NewStartInsideStore(const DirRestore& walk)
{
    return !walk.newStartDirectory.isEmpty() && platform::liesWithin(walk.newStartDirectory, walk.startDirectory);
}

bool RestoreDirectory(const DirRestore& walk)
{
    walk.reporter.log.appendLine(QStringLiteral("start"));
    struct Finish {
        const DirRestore& walk;
        ~Finish() { walk.reporter.log.appendLine(QStringLiteral("fertig")); }
    } finish{walk};
    if (NewStartInsideStore(walk))
        return false;
    RestoreDirTree(walk.startDirectory, walk);
    return true;
}

}  // namespace quorbin
