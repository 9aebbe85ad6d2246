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

// A day-only time is the local midnight of the day the server listed; the version may lie
// anywhere in that day.
bool within(double moment, const VersionCandidate& day)
{
    const double start = roundedDays(day.time);
    return start <= moment && moment < start + 1;
}

bool mayLieEitherWay(const VersionCandidate& a, const VersionCandidate& b)
{
    if (a.dayOnly && b.dayOnly)
        return roundedDays(a.time) == roundedDays(b.time);
    return (a.dayOnly && within(roundedDays(b.time), a)) || (b.dayOnly && within(roundedDays(a.time), b));
}

// Whether the days of day-only versions leave the choice open: two versions that may lie
// either way round, or (before a date) the limit within such a version's day. One version
// alone is chosen whatever its time.
bool daysLeaveItOpen(const QList<VersionCandidate>& candidates, VersionRule rule, double limit)
{
    if (candidates.size() < 2 || std::none_of(candidates.cbegin(), candidates.cend(), [](const VersionCandidate& c) {
            return c.dayOnly;
        }))
        return false;
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        for (qsizetype j = i + 1; j < candidates.size(); ++j)
            if (mayLieEitherWay(candidates[i], candidates[j]))
                return true;
        if (rule == kVersionBeforeDate && candidates[i].dayOnly && within(std::round(limit * 1e6) / 1e6, candidates[i]))
            return true;
    }
    return false;
}

void sortByTime(QList<VersionCandidate>& candidates)
{
    std::sort(candidates.begin(), candidates.end(), [](const VersionCandidate& a, const VersionCandidate& b) {
        const double ta = roundedDays(a.time), tb = roundedDays(b.time);
        if (ta != tb)
            return ta < tb;
        return a.path.compare(b.path, Qt::CaseInsensitive) < 0;
    });
}

}  // namespace

VersionIndex::VersionIndex(const QList<platform::DirEntry>& entries, ExactTime exactTime)
    : exactTime_(std::move(exactTime))
{
    for (const platform::DirEntry& entry : entries)
        if (HasVersionSuffix(entry.name))
            byBase_[entry.name.chopped(kVersionSuffixLength).toCaseFolded()]
                << ListedVersion{entry.name, entry.lastWriteSeconds, entry.size, entry.dayOnly};
}

bool VersionIndex::refine(VersionCandidate& candidate) const
{
    if (!candidate.dayOnly || !exactTime_)
        return false;
    const std::optional<qint64> seconds = exactTime_(platform::namePart(candidate.path));
    const std::optional<QDateTime> time = seconds ? platform::storeTime(*seconds) : std::nullopt;
    if (!time)
        return false;
    candidate.time = *time;
    candidate.dayOnly = false;
    return true;
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
        candidates << VersionCandidate{*time, path, version.size >= 0 ? version.size : platform::fileSize(path),
                                       version.dayOnly};
    }
    sortByTime(candidates);
    return candidates;
}

std::optional<VersionChoice> SelectVersion(VersionRule rule, const QString& originalPath, double limit,
                                           const VersionIndex* index, bool* onlyDays)
{
    // The stamp and the log's date: the exact time where the store tells it, else the listed
    // day alone (its local midnight, which shows as the date without a time).
    const auto exactWherePossible = [index](VersionCandidate candidate) {
        if (index)
            index->refine(candidate);
        return choiceAt(candidate.path, candidate.time);
    };
    if (rule == kOriginalVersion) {
        // The first version itself, whatever the others' times.
        std::optional<qint64> listed;
        bool dayOnly = false;
        if (index)
            for (const ListedVersion& version : index->versionsOf(platform::namePart(originalPath).chopped(kVersionSuffixLength)))
                if (version.name == platform::namePart(originalPath)) {
                    listed = version.lastWriteSeconds;
                    dayOnly = version.dayOnly;
                }
        const auto time = timeOf(originalPath, listed);
        if (!time)
            return {};
        return exactWherePossible(VersionCandidate{*time, originalPath, -1, dayOnly});
    }
    auto candidates = VersionCandidates(originalPath, index);
    if (!candidates || candidates->isEmpty())
        return {};
    if (daysLeaveItOpen(*candidates, rule, limit)) {
        for (VersionCandidate& candidate : *candidates)
            if (index)
                index->refine(candidate);
        sortByTime(*candidates);
        if (daysLeaveItOpen(*candidates, rule, limit)) {
            if (onlyDays)
                *onlyDays = true;
            return {};
        }
    }
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
    VersionChoice choice = exactWherePossible(candidates->at(chosen));
    if (rule == kVersionBeforeDate)
        choice.afterLimit = roundedDays(candidates->at(chosen).time) >= std::round(limit * 1e6) / 1e6;
    return choice;
}

}  // namespace quorbin
