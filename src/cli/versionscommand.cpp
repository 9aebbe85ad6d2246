#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/storedfilelines.h"
#include "engine/storedfiles.h"
#include "engine/storepath.h"
#include "engine/versions.h"
#include "platform/files.h"

namespace quorbin::cli {

const char* const kVersionsHelp =
    "quorbin-restore versions STORED\n"
    "quorbin-restore versions STORE-DIR\\NAME\n"
    "quorbin-restore versions ORIGINAL-PATH [START-DIR] [--set SETFILE]\n"
    "\n"
    "Lists the stored versions of a file, oldest first: the version's date and time, a tab,\n"
    "its path in the store. The file is named by\n"
    "  STORED             any of its versions (a name ending in \".NNNNN.nxz\");\n"
    "  STORE-DIR\\NAME     a store folder and the file's original name, blanks as blanks,\n"
    "                     e.g. 'D:\\Store\\Set1\\C$\\Docs\\Brief an Bank.docx';\n"
    "  ORIGINAL-PATH      the path the file had, e.g. 'C:\\Docs\\brief.txt', looked up below\n"
    "                     START-DIR or, without it, the target folder (Ziel) of the backup set\n"
    "                     SETFILE. Every set below that holds the path lists its versions.\n"
    "Names are compared case-blind. A file kept without version suffix is its own only\n"
    "version. A file without its first version (.00001.nxz) gets a warning on stderr: dir\n"
    "restores files through it.\n"
    "\n"
    "Exit status: 0 listed, 1 no version found, a folder unreadable or a version's time\n"
    "unreadable, 2 usage error (also a STORE-DIR that is no folder of the store).\n";

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
        error = QStringLiteral("abgebrochen");
    return error.isEmpty() ? found : QList<StoredFileVersions>();
}

int printFiles(const QList<StoredFileVersions>& files, const QString& named)
{
    if (files.isEmpty()) {
        printError("Keine Versionen gefunden: " + named);
        return kFailed;
    }
    for (const StoredFileVersions& file : files) {
        if (!file.unreadableVersion.isEmpty()) {
            printError("Zeit einer Version nicht lesbar: " + file.unreadableVersion);
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
        printError("Zeit einer Version nicht lesbar: " + unreadable);
        return kFailed;
    }
    if (candidates->isEmpty()) {
        printError("Keine Versionen gefunden: " + stored);
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
        printError(error.isEmpty() ? QString::fromUtf8(kVersionsHelp) : error);
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
            printError("Kein Ordner der Datensicherung (ohne Laufwerks- oder Serverebene wie C$): " + folder +
                       "\nEin Originalpfad wird mit --set oder START-DIR gesucht.");
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
