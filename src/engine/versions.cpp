#include "engine/versions.h"

#include "engine/storepath.h"
#include "platform/datetime.h"
#include "platform/dirsearch.h"
#include "platform/files.h"

#include <QMap>
#include <algorithm>
#include <cmath>

namespace quorbin {
namespace {

// Times are compared at six decimals of a day, as the store's platform did.
double roundedDays(const QDateTime& t) { return std::round(platform::toDayCount(t) * 1e6) / 1e6; }


// Of the versions that match the base case-blind, those of exactly this base when it has any:
// on a case-sensitive disk "Twin.txt" and "twin.txt" are two files, and one's versions must
// not stand in for the other's.
QList<ListedVersion> ownCaseFirst(const QList<ListedVersion>& versions, const QString& baseName)
{
    QList<ListedVersion> exact;
    for (const ListedVersion& version : versions)
        if (version.name.startsWith(baseName, Qt::CaseSensitive))
            exact << version;
    return exact.isEmpty() ? versions : exact;
}

// Only base + "." + five digits + ".nxz" is a version of this file: the search pattern also
// finds the versions of "base.bak" and the like, whose content must not stand in for it.
QList<ListedVersion> ownVersionsBySearch(const QString& base, const QString& baseName)
{
    QList<ListedVersion> versions;
    for (const platform::DirEntry& entry : platform::findEntries(base + ".*.*"))
        if (HasVersionSuffix(entry.name) && entry.name.size() == baseName.size() + kVersionSuffixLength &&
            entry.name.startsWith(baseName, Qt::CaseInsensitive))
            versions << ListedVersion{entry.name, entry.lastWriteSeconds, entry.size};
    return ownCaseFirst(versions, baseName);
}

// The listing's time where it had one, else the disk's (through a link).
std::optional<QDateTime> timeOf(const QString& path, const std::optional<qint64>& listedSeconds)
{
    return listedSeconds ? platform::storeTime(*listedSeconds) : platform::lastWriteTime(path);
}

VersionChoice choiceAt(const QString& path, const QDateTime& time)
{
    return VersionChoice{path, platform::userDateTimeText(time), time};
}

}  // namespace

VersionIndex::VersionIndex(const QList<platform::DirEntry>& entries)
{
    for (const platform::DirEntry& entry : entries)
        if (HasVersionSuffix(entry.name))
            byBase_[entry.name.chopped(kVersionSuffixLength).toCaseFolded()]
                << ListedVersion{entry.name, entry.lastWriteSeconds, entry.size};
}

QList<ListedVersion> VersionIndex::versionsOf(const QString& baseName) const
{
    return ownCaseFirst(byBase_.value(baseName.toCaseFolded()), baseName);
}

// Bases are grouped case-blind; within a group each spelling is a file of its own.
QMap<QString, QStringList> VersionIndex::namesBySpelling() const
{
    QMap<QString, QStringList> bySpelling;
    for (const QList<ListedVersion>& versions : byBase_)
        for (const ListedVersion& version : versions)
            bySpelling[version.name.chopped(kVersionSuffixLength)] << version.name;
    return bySpelling;
}

QStringList VersionIndex::baseNames() const { return namesBySpelling().keys(); }

QList<std::pair<QString, QStringList>> VersionIndex::withoutFirstVersion() const
{
    const QMap<QString, QStringList> bySpelling = namesBySpelling();
    QList<std::pair<QString, QStringList>> missing;
    for (auto it = bySpelling.cbegin(); it != bySpelling.cend(); ++it) {
        const QString first = it.key() + kFirstVersionSuffix;
        const bool hasFirst = std::any_of(it->cbegin(), it->cend(), [&](const QString& n) {
            return n.compare(first, Qt::CaseInsensitive) == 0;
        });
        if (!hasFirst) {
            QStringList names = *it;
            names.sort();
            missing.append({it.key(), names});
        }
    }
    return missing;
}

std::optional<QList<VersionCandidate>> VersionCandidates(const QString& originalPath, const VersionIndex* index,
                                                         QString* unreadable)
{
    const QString base = originalPath.chopped(std::min<qsizetype>(kVersionSuffixLength, originalPath.size()));
    const QString directory = platform::directoryPart(originalPath);
    const QString baseName = platform::namePart(base);

    const QList<ListedVersion> versions = index ? index->versionsOf(baseName) : ownVersionsBySearch(base, baseName);
    QList<VersionCandidate> candidates;
    for (const ListedVersion& version : versions) {
        const QString path = directory + version.name;
        const auto time = timeOf(path, version.lastWriteSeconds);
        if (!time) {
            if (unreadable)
                *unreadable = path;
            return {};
        }
        candidates << VersionCandidate{*time, path, version.size >= 0 ? version.size : platform::fileSize(path)};
    }
    std::sort(candidates.begin(), candidates.end(), [](const VersionCandidate& a, const VersionCandidate& b) {
        const double ta = roundedDays(a.time), tb = roundedDays(b.time);
        if (ta != tb)
            return ta < tb;
        return a.path.compare(b.path, Qt::CaseInsensitive) < 0;
    });
    return candidates;
}

std::optional<VersionChoice> SelectVersion(VersionRule rule, const QString& originalPath, double limit,
                                           const VersionIndex* index)
{
    if (rule == kOriginalVersion) {
        // The first version itself, whatever the others' times.
        std::optional<qint64> listed;
        if (index)
            for (const ListedVersion& version : index->versionsOf(platform::namePart(originalPath).chopped(kVersionSuffixLength)))
                if (version.name == platform::namePart(originalPath))
                    listed = version.lastWriteSeconds;
        const auto time = timeOf(originalPath, listed);
        return time ? std::optional(choiceAt(originalPath, *time)) : std::nullopt;
    }
    const auto candidates = VersionCandidates(originalPath, index);
    if (!candidates || candidates->isEmpty())
        return {};
    qsizetype chosen = candidates->size() - 1;
    if (rule == kVersionBeforeDate) {
        // The newest version before the limit; one dated exactly at the limit lies after it.
        // Both sides are rounded alike, or a limit whose fraction rounds down would let the
        // version stamped at the limit count as before it.
        const double roundedLimit = std::round(limit * 1e6) / 1e6;
        for (qsizetype i = 0; i + 1 < candidates->size(); ++i) {
            if (roundedDays(candidates->at(i + 1).time) >= roundedLimit) {
                chosen = i;
                break;
            }
        }
    }
    VersionChoice choice = choiceAt(candidates->at(chosen).path, candidates->at(chosen).time);
    if (rule == kVersionBeforeDate)
        choice.afterLimit = roundedDays(candidates->at(chosen).time) >= std::round(limit * 1e6) / 1e6;
    return choice;
}

}  // namespace quorbin
