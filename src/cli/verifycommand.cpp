#include "cli/verifycommand.h"

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/terminalprogress.h"
#include "engine/dirrestore.h"
#include "platform/files.h"

#include <QLocale>

namespace quorbin::cli {

const char* const kVerifyHelp =
    "quorbin-restore verify START-DIR [--set SETFILE | --key-file FILE] [--all-versions] [--jobs N]\n"
    "\n"
    "Reads every stored file below the store directory START-DIR as a restore would, but\n"
    "writes nothing: deciphered with the key, expanded to nowhere, its checksum checked.\n"
    "Without --all-versions only the version that the newest rule would restore is read;\n"
    "with it, every stored version.\n"
    "\n"
    "Prints one line per bad file, its store path and the cause after a tab (wrong key,\n"
    "damaged, cut short, empty, unreadable), then a summary on standard error: the files\n"
    "and container bytes read, and how many were bad.\n"
    "\n"
    "  --all-versions  read every version, not only the newest\n"
    "  --jobs N        read N files at a time (default: one per core); the lines come in the\n"
    "                  same order whatever N is\n"
    "\n"
    "The key comes from --key-file, else from the backup set SETFILE, else from QUORBIN_KEY.\n"
    "On a terminal a progress line is shown on standard error.\n"
    "\n"
    "Exit status: 0 every file good, 1 a file is bad (or the check was cut short), 2 usage error.\n";

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

QString summary(qint64 files, qint64 bytes, qint64 bad)
{
    return QStringLiteral("geprüft: %1 %2, %3 Bytes; fehlerhaft: %4")
        .arg(files)
        .arg(files == 1 ? QStringLiteral("Datei") : QStringLiteral("Dateien"))
        .arg(bytes)
        .arg(bad);
}

}  // namespace

int verifyStore(const VerifyRequest& request)
{
    TerminalProgress terminal;
    CountingProgress progress(terminal);
    qint64 files = 0;
    qint64 bad = 0;
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
        printError("Warnung: " + warning);
    };
    options.fileDone = [&](const QString& shownPath, const JobResult& result) {
        ++files;
        if (result.ok())
            return;
        ++bad;
        terminal.clearLine();
        printRecord(shownPath + u'\t' + result.message);
    };
    DirRestoreJob job(options);
    const JobResult result = runStoppable(job, RestoreReporter{noStatus(), noLog(), progress});
    terminal.clearLine();
    printError(summary(files, progress.bytes(), bad));
    if (result.kind == ErrorKind::Cancelled) {
        printError(describe(result));
        return kFailed;
    }
    return bad > 0 ? kFailed : kOk;
}

int runVerify(QStringList arguments)
{
    QString error;
    const auto setFile = takeOption(arguments, QStringLiteral("--set"), error);
    const auto keyFile = takeOption(arguments, QStringLiteral("--key-file"), error);
    const bool allVersions = takeFlag(arguments, QStringLiteral("--all-versions"));
    const int jobs = takeJobs(arguments, kMaxWorkers, error);
    if (error.isEmpty() && setFile && keyFile)
        error = QStringLiteral("--set und --key-file schließen einander aus");
    if (!error.isEmpty() || arguments.size() != 1) {
        printError(error.isEmpty() ? QString::fromUtf8(kVerifyHelp) : error);
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
