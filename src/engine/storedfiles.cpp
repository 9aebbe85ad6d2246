#include "engine/storedfiles.h"

#include "engine/storepath.h"
#include "platform/dirsearch.h"
#include "platform/files.h"

#include <QCoreApplication>

#include <algorithm>

namespace quorbin {
namespace {

// A drive's root ends in "\" already.
QString entryPath(const QString& directory, const QString& name)
{
    return directory.endsWith(u'\\') || directory.endsWith(u':') ? directory + name : directory + u'\\' + name;
}

StoredFileVersions named(const QString& storedName, const QString& decodedPath)
{
    StoredFileVersions file;
    file.storedName = storedName;
    file.originalPath = RestoreBlanks(decodedPath);
    // A folder above the drive level decodes to nothing; the name is all there is to show.
    file.originalName = RestoreBlanks(decodedPath.isEmpty() ? storedName : platform::namePart(decodedPath));
    return file;
}

StoredFileVersions versionedFile(const QString& directory, const QString& base, const VersionIndex& index)
{
    const QString firstPath = entryPath(directory, base + kFirstVersionSuffix);
    StoredFileVersions file = named(base, DecodeStoreFile(firstPath));
    // Through the first version's name, which need not exist: only its folder and base count.
    if (const auto candidates = VersionCandidates(firstPath, &index, &file.unreadableVersion))
        file.versions = *candidates;
    return file;
}

StoredFileVersions plainFile(const QString& path, const platform::DirEntry& entry)
{
    StoredFileVersions file = named(entry.name, DecodeStoreFile(path));
    file.plain = true;
    const auto time = entry.lastWriteSeconds ? platform::storeTime(*entry.lastWriteSeconds) : platform::lastWriteTime(path);
    if (time)
        file.versions << VersionCandidate{*time, path, entry.size >= 0 ? entry.size : platform::fileSize(path)};
    else
        file.unreadableVersion = path;
    return file;
}

bool byOriginalName(const StoredFileVersions& a, const StoredFileVersions& b)
{
    const int blind = a.originalName.compare(b.originalName, Qt::CaseInsensitive);
    return blind != 0 ? blind < 0 : a.storedName < b.storedName;
}

// The part of a pattern before its first wildcard, blanks restored and case-folded.
QString literalPrefix(const QString& pattern)
{
    qsizetype end = 0;
    while (end < pattern.size() && pattern.at(end) != u'*' && pattern.at(end) != u'?')
        ++end;
    return RestoreBlanks(pattern.left(end)).toCaseFolded();
}

// Whether a folder can hold a file that the path pattern matches: a search for one original
// path need not read every other drive and folder of the store.
bool mayHoldMatches(const QString& pattern, const QString& folder)
{
    if (!pattern.contains(u'\\'))
        return true;
    const QString decoded = RestoreBlanks(DecodeStoreDir(folder));
    if (decoded.isEmpty())
        return true;  // above the drive level: any original path may lie below
    const QString prefix = literalPrefix(pattern);
    const QString below = (decoded + u'\\').toCaseFolded();
    return prefix.startsWith(below) || below.startsWith(prefix);
}

bool walk(const QString& directory, const QString& pattern, const FindCallbacks& callbacks, std::stop_token stop)
{
    if (stop.stop_requested())
        return false;
    const StoreFolder folder = ReadStoreFolder(directory);
    if (!folder.listing.ok() && callbacks.unreadable)
        callbacks.unreadable(folder.listing);
    for (const StoredFileVersions& file : folder.files)
        if (MatchesOriginal(pattern, file) && callbacks.found)
            callbacks.found(file);
    for (const QString& name : folder.folders) {
        const QString below = entryPath(directory, name);
        if (mayHoldMatches(pattern, below) && !walk(below, pattern, callbacks, stop))
            return false;
    }
    return true;
}

}  // namespace

bool StoredFileVersions::hasFirstVersion() const
{
    return plain || std::any_of(versions.cbegin(), versions.cend(), [](const VersionCandidate& v) {
               return v.path.endsWith(kFirstVersionSuffix);
           });
}

StoreFolder ReadStoreFolder(const QString& directory)
{
    StoreFolder folder;
    const platform::DirListing listing = platform::listEntries(entryPath(directory, QStringLiteral("*.*")));
    if (listing.error != 0)
        folder.listing = JobResult::failure(ErrorKind::SourceUnreadable,
                                            QCoreApplication::translate("Engine", "Verzeichnis nicht lesbar: %1")
                                                .arg(platform::systemReason(listing.error)),
                                            platform::hostPathOf(directory));
    const VersionIndex index(listing.entries);
    for (const QString& base : index.baseNames())
        folder.files << versionedFile(directory, base, index);
    for (const platform::DirEntry& entry : listing.entries) {
        const QString path = entryPath(directory, entry.name);
        if (entry.directory)
            folder.folders << entry.name;
        else if (entry.symlink && platform::directoryExists(path))
            continue;  // never follow a linked directory, as the restore does not
        else if (!HasVersionSuffix(entry.name))
            folder.files << plainFile(path, entry);
    }
    std::sort(folder.files.begin(), folder.files.end(), byOriginalName);
    std::sort(folder.folders.begin(), folder.folders.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return folder;
}

bool MatchesOriginal(const QString& pattern, const StoredFileVersions& file)
{
    const QString blanks = RestoreBlanks(pattern);
    return platform::wildcardMatches(blanks, pattern.contains(u'\\') ? file.originalPath : file.originalName);
}

bool FindStoredFiles(const QString& startDirectory, const QString& pattern, const FindCallbacks& callbacks,
                     std::stop_token stop)
{
    return walk(startDirectory, pattern, callbacks, stop);
}

}  // namespace quorbin
