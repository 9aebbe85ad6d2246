#include "cli/storedfilelines.h"

#include "cli/arguments.h"
#include "cli/commands.h"
#include "engine/storepath.h"
#include "platform/datetime.h"
#include "platform/files.h"

#include <QCoreApplication>

namespace quorbin::cli {

std::optional<QString> storeStartOf(const QString& startArgument, const std::optional<QString>& setFile,
                                    QString& error)
{
    if (!startArgument.isEmpty()) {
        const QString start = directoryOfArgument(startArgument);
        requireDirectory(start);
        return start;
    }
    const std::optional<BackupSet> set = readSetArgument(*setFile, error);
    if (!set)
        return {};
    const QString target = directoryOfArgument(set->Ziel);
    if (!platform::directoryExists(target)) {
        error = QCoreApplication::translate("Cli", "Ziel des Sets nicht gefunden: %1 (%2)")
                    .arg(target, platform::hostPathOf(target));
        return {};
    }
    return target;
}

QString storedBasePath(const StoredFileVersions& file)
{
    const QString anyVersion = file.versions.isEmpty() ? file.unreadableVersion : file.versions.first().path;
    return file.plain ? anyVersion : anyVersion.chopped(kVersionSuffixLength);
}

void printVersionLines(const StoredFileVersions& file)
{
    for (const VersionCandidate& c : file.versions)
        printLine(platform::userDateTimeText(c.time) + u'\t' + terminalSafe(c.path));
    if (!file.hasFirstVersion())
        warnWithoutFirstVersion(storedBasePath(file));
}

void warnWithoutFirstVersion(const QString& basePath)
{
    printError(QCoreApplication::translate(
                   "Cli", "Warnung: die erste Version fehlt; dir stellt diese Datei nicht wieder her: %1")
                   .arg(terminalSafe(basePath)));
}

}  // namespace quorbin::cli
