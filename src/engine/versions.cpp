#include "engine/versions.h"

#include "engine/storepath.h"
#include "platform/abort.h"
#include "platform/datetime.h"
#include "platform/dirsearch.h"
#include "platform/files.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace quorbin {
namespace {

// Times are compared at six decimals of a day, as the store's platform did.
double roundedDays(const QDateTime& t) { return std::round(platform::toDayCount(t) * 1e6) / 1e6; }

// Only base + "." + five digits + ".nxz" is a version of this file: the pattern also finds
// the versions of "base.bak" and the like, whose content must not stand in for this file.
bool isOwnVersion(const QString& name, const QString& baseName)
{
    static const QRegularExpression suffix(QStringLiteral("^\\.[0-9]{5}\\.nxz$"));
    return name.size() == baseName.size() + kVersionSuffixLength &&
           name.startsWith(baseName, Qt::CaseInsensitive) && suffix.match(name.mid(baseName.size())).hasMatch();
}

std::optional<VersionChoice> choiceFor(const QString& path)
{
    const auto time = platform::lastWriteTime(path);
    if (!time)
        return {};
    return VersionChoice{path, platform::userDateTimeText(*time)};
}

}  // namespace

std::optional<QList<VersionCandidate>> VersionCandidates(const QString& originalPath)
{
    const QString base = originalPath.chopped(std::min<qsizetype>(kVersionSuffixLength, originalPath.size()));
    const QString directory = platform::directoryPart(originalPath);
    const QString baseName = platform::namePart(base);

    QList<VersionCandidate> candidates;
    for (const platform::DirEntry& entry : platform::findEntries(base + ".*.*")) {
        if (AbortRequested)
            break;
        if (!isOwnVersion(entry.name, baseName))
            continue;
        const QString path = directory + entry.name;
        const auto time = platform::lastWriteTime(path);
        if (!time)
            return {};
        candidates << VersionCandidate{*time, path};
    }
    std::sort(candidates.begin(), candidates.end(), [](const VersionCandidate& a, const VersionCandidate& b) {
        const double ta = roundedDays(a.time), tb = roundedDays(b.time);
        if (ta != tb)
            return ta < tb;
        return a.path.compare(b.path, Qt::CaseInsensitive) < 0;
    });
    return candidates;
}

std::optional<VersionChoice> SelectVersion(VersionRule rule, const QString& originalPath, double limit)
{
    if (rule == kOriginalVersion)
        return choiceFor(originalPath);

    const auto candidates = VersionCandidates(originalPath);
    if (!candidates || candidates->isEmpty())
        return {};
    qsizetype chosen = candidates->size() - 1;
    if (rule == kVersionBeforeDate) {
        // The newest version before the limit; one dated exactly at the limit lies after it.
        for (qsizetype i = 0; i + 1 < candidates->size(); ++i) {
            if (roundedDays(candidates->at(i + 1).time) >= limit) {
                chosen = i;
                break;
            }
        }
    }
    return choiceFor(candidates->at(chosen).path);
}

}  // namespace quorbin
