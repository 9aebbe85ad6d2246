#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/treeoptions.h"
#include "engine/dirrestore.h"
#include "platform/files.h"

#include <QCoreApplication>

namespace quorbin::cli {

const char* const kDirHelp =
    QT_TRANSLATE_NOOP("Cli",
    "quorbin-restore dir STARTVERZ [--to NEUES-VERZ] [--rule original|before|newest]\n"
    "                    [--before DATUM] [--ask] [--set SET-DATEI] [--key-file DATEI] [--dry-run]\n"
    "                    [--jobs N]\n"
    "\n"
    "Stellt jede gesicherte Datei unter STARTVERZ wieder her, einem Verzeichnis der\n"
    "Datensicherung unter einer Laufwerks- oder Serverebene (sein Pfad enthält \"$\"), wie es\n"
    "\"Zurückladen\" im Fenster tut, und gibt die Protokollzeilen aus: \"start\", eine Zeile je\n"
    "gesicherter Datei, \"fertig\"; wurden Dateien geschrieben, nennt eine letzte Zeile\n"
    "\"wiederhergestellt nach: ORDNER\", wo der Baum auf diesem Rechner liegt.\n"
    "\n"
    "  --to NEUES-VERZ  den Baum unter NEUES-VERZ statt unter den Originalpfaden aufbauen\n"
    "  --rule           original: die erste gesicherte Version; newest (Vorgabe): die neueste;\n"
    "                   before: die neueste Version vor --before DATUM\n"
    "  --before DATUM   \"TT.MM.JJJJ HH:MM\" oder \"JJJJ-MM-TT HH:MM\"; nötig für --rule before\n"
    "  --ask            im Terminal fragen, bevor eine vorhandene Datei ersetzt wird\n"
    "  --dry-run        nichts schreiben; die Zeilen für das ausgeben, was wiederhergestellt\n"
    "                   würde, jeder gewählte Container bis zu seinem Ende gelesen, so dass eine\n"
    "                   Datei, die scheitern würde, ihre ERROR-Zeile erhält und der\n"
    "                   Rückgabewert der eines echten Laufs ist\n"
    "  --jobs N         N Dateien zugleich wiederherstellen (Vorgabe: eine je Kern; mit --ask:\n"
    "                   eine); die Zeilen kommen in derselben Reihenfolge, wie groß N auch ist\n"
    "\n"
    "Der Schlüssel kommt aus --key-file, sonst aus der Sicherung SET-DATEI, sonst aus\n"
    "QUORBIN_KEY. In einem Terminal zeigt eine Fortschrittszeile auf der Standardfehlerausgabe\n"
    "den Stand.\n"
    "\n"
    "Rückgabewert: 0 keine ERROR-Zeile, 1 eine Datei nicht wiederhergestellt, 2 Aufruffehler.\n");

int runDir(QStringList arguments)
{
    QString error;
    const auto setFile = takeOption(arguments, QStringLiteral("--set"), error);
    const auto keyFile = takeOption(arguments, QStringLiteral("--key-file"), error);
    const TreeOptions tree = takeTreeOptions(arguments, error);
    if (!error.isEmpty() || arguments.size() != 1) {
        printError(error.isEmpty() ? helpText(kDirHelp) : error);
        return kUsage;
    }
    const QString start = directoryOfArgument(arguments.first());
    if (!start.contains(u'$')) {
        printError(QCoreApplication::translate("Cli", "Kein Backup-Pfad. Bitte neu wählen!"));
        return kUsage;
    }
    requireDirectory(start);
    const auto key = keyFromOptions(keyFile, setFile, error);
    if (!key) {
        printError(error);
        return kFailed;
    }

    DirRestoreJob::Options options = treeJobOptions(tree, start);
    options.key = [&key] { return *key; };
    if (refusesTargets(options))
        return kUsage;
    return runTreeJob(options);
}

}  // namespace quorbin::cli
