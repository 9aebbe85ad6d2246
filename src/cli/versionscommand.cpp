#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/storedfilelines.h"
#include "engine/storedfiles.h"
#include "engine/storepath.h"
#include "engine/versions.h"
#include "platform/files.h"

#include <QCoreApplication>

namespace quorbin::cli {

const char* const kVersionsHelp = QT_TRANSLATE_NOOP(
    "Cli",
    "quorbin-restore versions GESICHERT\n"
    "quorbin-restore versions SICHERUNGSVERZ\\NAME\n"
    "quorbin-restore versions ORIGINALPFAD [STARTVERZ] [--set SET-DATEI]\n"
    "\n"
    "Listet die gesicherten Versionen einer Datei auf, die älteste zuerst: Datum und Zeit der\n"
    "Version, ein Tabulator, ihr Pfad in der Datensicherung. Die Datei wird benannt durch\n"
    "  GESICHERT            eine ihrer Versionen (ein Name, der auf \".NNNNN.nxz\" endet);\n"
    "  SICHERUNGSVERZ\\NAME  einen Ordner der Datensicherung und den Originalnamen der Datei,\n"
    "                       Leerzeichen als Leerzeichen, z. B. 'D:\\Store\\Set1\\C$\\Docs\\Brief an Bank.docx';\n"
    "  ORIGINALPFAD         den Pfad, den die Datei hatte, z. B. 'C:\\Docs\\brief.txt', gesucht unter\n"
    "                       STARTVERZ oder, ohne es, unter dem Ziel der Sicherung SET-DATEI. Jedes\n"
    "                       Set darunter, das den Pfad enthält, listet seine Versionen.\n"
    "Namen werden ohne Rücksicht auf Groß- und Kleinschreibung verglichen. Eine Datei ohne\n"
    "Versionsendung ist ihre eigene einzige Version. Eine Datei ohne ihre erste Version\n"
    "(.00001.nxz) erhält eine Warnung auf stderr: dir stellt Dateien über sie wieder her.\n"
    "\n"
    "Rückgabewert: 0 aufgelistet, 1 keine Version gefunden, ein Ordner nicht lesbar oder die\n"
    "Zeit einer Version nicht lesbar, 2 Aufruffehler (auch ein SICHERUNGSVERZ, das kein Ordner\n"
    "der Datensicherung ist).\n");

namespace {

// The files of the store folder whose original name is the given one; the ones spelt
// exactly so when the name is there in several spellings.
QList<StoredFileVersions> filesNamed(const QString& storeDirectory, const QString& name, QString& error)
{
    const StoreFolder folder = ReadStoreFolder(storeDirectory);
    if (!folder.listing.ok()) {
        error = describe(folder.listing);
        return {};
    }
    QList<StoredFileVersions> named, spelt;
    for (const StoredFileVersions& file : folder.files) {
        if (!MatchesOriginal(name, file))
            continue;
        named << file;
        if (file.originalName == RestoreBlanks(name))
            spelt << file;
    }
    return spelt.isEmpty() ? named : spelt;
}

QList<StoredFileVersions> filesAtOriginalPath(const QString& start, const QString& path, QString& error)
{
    QList<StoredFileVersions> found;
    FindCallbacks callbacks{[&found](const StoredFileVersions& file) { found << file; },
                            [&error](const JobResult& unreadable) { error = describe(unreadable); }};
    if (!FindStoredFiles(start, path, callbacks, signalStopToken()))
        error = QCoreApplication::translate("Cli", "abgebrochen");
    return error.isEmpty() ? found : QList<StoredFileVersions>();
}

int printFiles(const QList<StoredFileVersions>& files, const QString& named)
{
    if (files.isEmpty()) {
        printError(QCoreApplication::translate("Cli", "Keine Versionen gefunden: %1").arg(named));
        return kFailed;
    }
    for (const StoredFileVersions& file : files) {
        if (!file.unreadableVersion.isEmpty()) {
            printError(
                QCoreApplication::translate("Cli", "Zeit einer Version nicht lesbar: %1").arg(file.unreadableVersion));
            return kFailed;
        }
    }
    for (const StoredFileVersions& file : files)
        printVersionLines(file);
    return kOk;
}

// Any version of the file, as the store names it.
int versionsOfStored(const QString& stored)
{
    QString unreadable;
    const auto candidates = VersionCandidates(stored, nullptr, &unreadable);
    if (!candidates) {
        printError(QCoreApplication::translate("Cli", "Zeit einer Version nicht lesbar: %1").arg(unreadable));
        return kFailed;
    }
    if (candidates->isEmpty()) {
        printError(QCoreApplication::translate("Cli", "Keine Versionen gefunden: %1").arg(stored));
        return kFailed;
    }
    StoredFileVersions file;
    file.versions = *candidates;
    printVersionLines(file);
    return kOk;
}

}  // namespace

int runVersions(QStringList arguments)
{
    QString error;
    const auto setFile = takeOption(arguments, QStringLiteral("--set"), error);
    if (!error.isEmpty() || arguments.isEmpty() || arguments.size() > 2) {
        printError(error.isEmpty() ? helpText(kVersionsHelp) : error);
        return kUsage;
    }
    const QString named = windowsPathOfArgument(arguments.first());
    if (HasVersionSuffix(named))
        return versionsOfStored(named);

    QList<StoredFileVersions> files;
    if (arguments.size() == 2 || setFile) {
        const std::optional<QString> start = storeStartOf(arguments.value(1), setFile, error);
        if (!start) {
            printError(error);
            return kFailed;
        }
        // A path in the store itself names its folder there, whatever the set.
        files = platform::liesWithin(named, *start) ? filesNamed(directoryOfArgument(platform::directoryPart(named)),
                                                                 platform::namePart(named), error)
                                                    : filesAtOriginalPath(*start, named, error);
    } else {
        const QString folder = directoryOfArgument(platform::directoryPart(named));
        if (DecodeStoreDir(folder).isEmpty()) {
            printError(QCoreApplication::translate(
                           "Cli",
                           "Kein Ordner der Datensicherung (ohne Laufwerks- oder Serverebene wie C$): %1\n"
                           "Ein Originalpfad wird mit --set oder STARTVERZ gesucht.")
                           .arg(folder));
            return kUsage;
        }
        requireDirectory(folder);
        files = filesNamed(folder, platform::namePart(named), error);
    }
    if (!error.isEmpty()) {
        printError(error);
        return kFailed;
    }
    return printFiles(files, named);
}

}  // namespace quorbin::cli
