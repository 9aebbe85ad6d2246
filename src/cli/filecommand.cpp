#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/terminalprogress.h"
#include "engine/restore.h"
#include "platform/files.h"

#include <QCoreApplication>

namespace quorbin::cli {

const char* const kFileHelp =
    QT_TRANSLATE_NOOP("Cli",
    "quorbin-restore file GESICHERT ZIELDATEI [--date TEXT] [--key-file DATEI] [--set SET-DATEI]\n"
    "\n"
    "Stellt eine gesicherte Datei (.nxz-Container) als ZIELDATEI wieder her: entschlüsselt sie\n"
    "mit dem Schlüssel, entpackt sie und gibt ihr die Zeit der gesicherten Version oder das\n"
    "Datum aus --date DATUM (\"TT.MM.JJJJ HH:MM\", \"JJJJ-MM-TT HH:MM\" oder die Datumsform der\n"
    "Protokollzeilen). Eine vorhandene ZIELDATEI wird nur ersetzt, wenn die Wiederherstellung\n"
    "gelungen ist.\n"
    "\n"
    "Der Schlüssel kommt aus --key-file DATEI (UTF-8, ein Zeilenende am Schluss fällt weg),\n"
    "sonst aus dem Schlüssel der Sicherung SET-DATEI (dort leer: kein Schlüssel), sonst aus der\n"
    "Umgebungsvariablen QUORBIN_KEY; ohne alle drei wird kein Schlüssel angewandt.\n"
    "Pfade, die mit einem Laufwerksbuchstaben und \":\" oder mit \"\\\\\" beginnen, sind\n"
    "Windows-Pfade; jeder andere Pfad ist ein Pfad dieses Rechners.\n"
    "\n"
    "Rückgabewert: 0 wiederhergestellt, 1 nicht wiederhergestellt (Grund auf stderr),\n"
    "2 Aufruffehler.\n");

int runFile(QStringList arguments)
{
    QString error;
    const auto date = takeOption(arguments, QStringLiteral("--date"), error);
    const auto keyFile = takeOption(arguments, QStringLiteral("--key-file"), error);
    const auto setFile = takeOption(arguments, QStringLiteral("--set"), error);
    const auto stamp = date ? dateFromArgument(*date) : std::nullopt;
    if (error.isEmpty() && date && !stamp)
        error = QCoreApplication::translate("Cli", "Datum nicht lesbar: %1").arg(*date);
    if (!error.isEmpty() || arguments.size() != 2) {
        printError(error.isEmpty() ? helpText(kFileHelp) : error);
        return kUsage;
    }
    const auto key = keyFromOptions(keyFile, setFile, error);
    if (!key) {
        printError(error);
        return kFailed;
    }
    const QString stored = windowsPathOfArgument(arguments.at(0));
    const QString target = windowsPathOfArgument(arguments.at(1));
    // The target is a name the user typed: a "¯" in it is meant as it stands.
    // Without --date the file gets the version's own time, as in a directory restore.
    FileRestoreJob job(stored, target, *key,
                       {.stamp = stamp ? *stamp : platform::lastWriteTime(stored).value_or(QDateTime()),
                        .copyPlainFiles = false,
                        .blankMarksInTarget = false});
    TerminalProgress progress;
    const JobResult result = runStoppable(job, RestoreReporter{noStatus(), noLog(), progress});
    progress.clearLine();
    if (!result.ok()) {
        printError(QCoreApplication::translate("Cli", "Nicht wiederhergestellt: %1").arg(describe(result)));
        return kFailed;
    }
    return kOk;
}

}  // namespace quorbin::cli
