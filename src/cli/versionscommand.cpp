#include "cli/arguments.h"
#include "cli/commands.h"
#include "engine/storepath.h"
#include "engine/versions.h"
#include "platform/datetime.h"

#include <QRegularExpression>
#include <algorithm>

namespace quorbin::cli {

const char* const kVersionsHelp =
    "quorbin-restore versions STORED\n"
    "\n"
    "Lists the stored versions of the file that STORED (any of its versions) belongs to,\n"
    "oldest first: the version's date and time, a tab, its path in the store. A file without\n"
    "its first version (.00001.nxz) gets a warning on stderr: dir restores files through it.\n"
    "\n"
    "Exit status: 0 listed, 1 no version found or a version's time unreadable, 2 usage error\n"
    "(also when STORED does not end in a version suffix \".NNNNN.nxz\").\n";

int runVersions(QStringList arguments)
{
    if (arguments.size() != 1) {
        printError(QString::fromUtf8(kVersionsHelp));
        return kUsage;
    }
    const QString stored = windowsPathOfArgument(arguments.first());
    if (!QRegularExpression(QStringLiteral("\\.[0-9]{5}\\.nxz$")).match(stored).hasMatch()) {
        printError("Keine gespeicherte Version (Name endet nicht auf .NNNNN.nxz): " + stored);
        return kUsage;
    }
    QString unreadable;
    const auto candidates = VersionCandidates(stored, nullptr, &unreadable);
    if (!candidates) {
        printError("Zeit einer Version nicht lesbar: " + unreadable);
        return kFailed;
    }
    if (candidates->isEmpty()) {
        printError("Keine Versionen gefunden: " + stored);
        return kFailed;
    }
    for (const VersionCandidate& c : *candidates)
        printLine(platform::userDateTimeText(c.time) + u'\t' + terminalSafe(c.path));
    const bool hasFirst = std::any_of(candidates->cbegin(), candidates->cend(), [](const VersionCandidate& c) {
        return c.path.endsWith(kFirstVersionSuffix);
    });
    if (!hasFirst)
        printError("Warnung: die erste Version fehlt; dir stellt diese Datei nicht wieder her: " +
                   terminalSafe(stored.chopped(kVersionSuffixLength)));
    return kOk;
}

}  // namespace quorbin::cli
