#include "cli/arguments.h"
#include "cli/commands.h"
#include "engine/storepath.h"

#include <QCoreApplication>

namespace quorbin::cli {

const char* const kDecodeHelp =
    QT_TRANSLATE_NOOP("Cli",
    "quorbin-restore decode [--dir] TEXT\n"
    "\n"
    "Gibt den Originalpfad aus, für den ein Backup-Pfad steht. Ohne --dir ist TEXT eine\n"
    "gesicherte Datei, deren Versionsendung wegfällt; mit --dir ist er ein Verzeichnis der\n"
    "Datensicherung.\n");

int runDecode(QStringList arguments)
{
    const bool directory = takeFlag(arguments, QStringLiteral("--dir"));
    if (arguments.size() != 1) {
        printError(helpText(kDecodeHelp));
        return kUsage;
    }
    // A relative or host path is a store path of this machine: its Windows text is decoded.
    const QString storePath = windowsPathOfArgument(arguments.first());
    const QString decoded = directory ? DecodeStoreDir(storePath) : DecodeStoreFile(storePath);
    if (decoded.isEmpty()) {
        printError(QCoreApplication::translate(
                       "Cli", "Kein Backup-Pfad (keine Laufwerks- oder Serverebene \"X$\" oder \"$$\"): %1")
                       .arg(storePath));
        return kFailed;
    }
    printRecord(decoded);
    return kOk;
}

}  // namespace quorbin::cli
