#include "cli/verifycommand.h"

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/terminalprogress.h"
#include "engine/dirrestore.h"
#include "platform/files.h"

#include <QCoreApplication>
#include <QLocale>

namespace quorbin::cli {

const char* const kVerifyHelp = QT_TRANSLATE_NOOP(
    "Cli",
    "quorbin-restore verify STARTVERZ [--set SET-DATEI | --key-file DATEI] [--all-versions] [--jobs N]\n"
    "\n"
    "Liest jede gesicherte Datei unter dem Verzeichnis STARTVERZ der Datensicherung so, wie eine\n"
    "Wiederherstellung es täte, schreibt aber nichts: mit dem Schlüssel entschlüsselt, ins Leere\n"
    "entpackt, ihre Prüfsumme geprüft. Ohne --all-versions wird nur die Version gelesen, die die\n"
    "Regel newest wiederherstellen würde; mit der Option jede gesicherte Version.\n"
    "\n"
    "Gibt eine Zeile je fehlerhafter Datei aus, ihren Pfad in der Datensicherung und nach einem\n"
    "Tabulator die Ursache (falscher Schlüssel, beschädigt, gekürzt, leer, nicht lesbar), dann\n"
    "eine Zusammenfassung auf der Standardfehlerausgabe: die gelesenen Dateien und\n"
    "Container-Bytes und wie viele fehlerhaft waren.\n"
    "\n"
    "  --all-versions  jede Version lesen, nicht nur die neueste\n"
    "  --jobs N        N Dateien zugleich lesen (Vorgabe: eine je Kern); die Zeilen kommen in\n"
    "                  derselben Reihenfolge, wie groß N auch ist\n"
    "\n"
    "Der Schlüssel kommt aus --key-file, sonst aus der Sicherung SET-DATEI, sonst aus\n"
    "QUORBIN_KEY. In einem Terminal zeigt eine Fortschrittszeile auf der Standardfehlerausgabe\n"
    "den Stand.\n"
    "\n"
    "Rückgabewert: 0 jede Datei in Ordnung, 1 eine Datei fehlerhaft (oder die Prüfung wurde\n"
    "abgebrochen), 2 Aufruffehler.\n");

namespace {

// Keeps the bytes the walk reports for the summary, and passes everything on.
class CountingProgress : public ProgressSink {
public:
    explicit CountingProgress(ProgressSink& shown) : shown_(shown) {}
    void started(qint64 files, qint64 bytes) override { shown_.started(files, bytes); }
    void advanced(qint64 files, qint64 bytes) override
    {
        bytes_ = bytes;
        shown_.advanced(files, bytes);
    }
    void finished() override { shown_.finished(); }
    qint64 bytes() const { return bytes_; }

private:
    ProgressSink& shown_;
    qint64 bytes_ = 0;
};

QString summary(qint64 files, qint64 bytes, qint64 bad, qint64 unreadFolders)
{
    const QString text = files == 1
                             ? QCoreApplication::translate("Cli", "geprüft: %1 Datei, %2 Bytes; fehlerhaft: %3")
                             : QCoreApplication::translate("Cli", "geprüft: %1 Dateien, %2 Bytes; fehlerhaft: %3");
    QString line = text.arg(files).arg(bytes).arg(bad);
    // A folder that cannot be read hides how many files it holds: it is no bad file.
    if (unreadFolders > 0)
        line += QCoreApplication::translate("Cli", "; Ordner nicht gelesen (Dateien darin ungeprüft): %1")
                    .arg(unreadFolders);
    return line;
}

}  // namespace

int verifyStore(const VerifyRequest& request)
{
    TerminalProgress terminal;
    CountingProgress progress(terminal);
    qint64 files = 0;
    qint64 bad = 0;
    qint64 unreadFolders = 0;
    DirRestoreJob::Options options;
    options.startDirectory = request.startDirectory;
    options.rule = kNewestVersion;
    options.key = request.key;
    options.countTotals = terminal.enabled();
    options.jobs = request.jobs;
    options.verifyOnly = true;
    options.everyVersion = request.allVersions;
    options.store = request.store;
    options.warn = [&terminal](const QString& warning) {
        terminal.clearLine();
        printError(QCoreApplication::translate("Cli", "Warnung: %1").arg(warning));
    };
    options.fileDone = [&](const QString& shownPath, const JobResult& result) {
        ++files;
        if (result.ok())
            return;
        ++bad;
        terminal.clearLine();
        printRecord(shownPath + u'\t' + result.message);
    };
    options.folderUnread = [&](const QString& folder, const JobResult& result) {
        ++unreadFolders;
        terminal.clearLine();
        printRecord(folder + u'\t' + result.message);
    };
    DirRestoreJob job(options);
    const JobResult result = runStoppable(job, RestoreReporter{noStatus(), noLog(), progress});
    terminal.clearLine();
    printError(summary(files, progress.bytes(), bad, unreadFolders));
    if (result.kind == ErrorKind::Cancelled) {
        printError(describe(result));
        return kFailed;
    }
    return bad > 0 || unreadFolders > 0 ? kFailed : kOk;
}

int runVerify(QStringList arguments)
{
    QString error;
    const auto setFile = takeOption(arguments, QStringLiteral("--set"), error);
    const auto keyFile = takeOption(arguments, QStringLiteral("--key-file"), error);
    const bool allVersions = takeFlag(arguments, QStringLiteral("--all-versions"));
    const int jobs = takeJobs(arguments, kMaxWorkers, error);
    if (error.isEmpty() && setFile && keyFile)
        error = QCoreApplication::translate("Cli", "--set und --key-file schließen einander aus");
    if (!error.isEmpty() || arguments.size() != 1) {
        printError(error.isEmpty() ? helpText(kVerifyHelp) : error);
        return kUsage;
    }
    const QString start = directoryOfArgument(arguments.first());
    requireDirectory(start);
    const auto key = keyFromOptions(keyFile, setFile, error);
    if (!key) {
        printError(error);
        return kFailed;
    }
    return verifyStore(VerifyRequest{start, [&key] { return *key; }, allVersions, jobs, nullptr});
}

}  // namespace quorbin::cli
