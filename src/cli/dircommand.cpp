#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/terminalprogress.h"
#include "engine/dirrestore.h"
#include "platform/datetime.h"
#include "platform/files.h"

#include <QDateTime>
#include <QLocale>

namespace quorbin::cli {
namespace {

std::optional<VersionRule> ruleNamed(const QString& name)
{
    if (name == u"original")
        return kOriginalVersion;
    if (name == u"before")
        return kVersionBeforeDate;
    if (name == u"newest")
        return kNewestVersion;
    return {};
}

}  // namespace

const char* const kDirHelp =
    "quorbin-restore dir START-DIR [--to NEW-DIR] [--rule original|before|newest]\n"
    "                    [--before DATE] [--ask] [--set SETFILE] [--key-file FILE] [--dry-run]\n"
    "                    [--jobs N]\n"
    "\n"
    "Restores every stored file below START-DIR, a store directory below a drive or server\n"
    "level (its path holds \"$\"), as the window's \"Zurückladen\" does, and prints the log lines:\n"
    "\"start\", one line per stored file, \"fertig\".\n"
    "\n"
    "  --to NEW-DIR   rebuild the tree below NEW-DIR instead of the original paths\n"
    "  --rule         original: the first stored version; newest (default): the newest;\n"
    "                 before: the newest version before --before DATE\n"
    "  --before DATE  \"DD.MM.YYYY HH:MM\" or \"YYYY-MM-DD HH:MM\"; needed for --rule before\n"
    "  --ask          ask on the terminal before an existing file is replaced\n"
    "  --dry-run      print the lines for what would be restored and write nothing\n"
    "  --jobs N       restore N files at a time (default: one per core; --ask: one); the\n"
    "                 lines come in the same order whatever N is\n"
    "\n"
    "The key comes from --key-file, else from the backup set SETFILE, else from QUORBIN_KEY.\n"
    "On a terminal a progress line is shown on standard error.\n"
    "\n"
    "Exit status: 0 no ERROR line, 1 some file not restored, 2 usage error.\n";

int runDir(QStringList arguments)
{
    QString error;
    const auto to = takeOption(arguments, QStringLiteral("--to"), error);
    const auto ruleText = takeOption(arguments, QStringLiteral("--rule"), error);
    const auto beforeText = takeOption(arguments, QStringLiteral("--before"), error);
    const auto setFile = takeOption(arguments, QStringLiteral("--set"), error);
    const auto keyFile = takeOption(arguments, QStringLiteral("--key-file"), error);
    const bool ask = takeFlag(arguments, QStringLiteral("--ask"));
    const bool dryRun = takeFlag(arguments, QStringLiteral("--dry-run"));
    const int jobs = takeJobs(arguments, kMaxWorkers, error);
    const auto rule = ruleNamed(ruleText.value_or(QStringLiteral("newest")));
    if (error.isEmpty() && !rule)
        error = "Unbekannte Regel: " + ruleText.value_or(QString());
    const auto limit = beforeText ? dateFromArgument(*beforeText) : std::nullopt;
    if (error.isEmpty() && beforeText && !limit)
        error = "Datum nicht lesbar: " + *beforeText;
    if (error.isEmpty() && beforeText && rule != kVersionBeforeDate)
        error = QStringLiteral("--before gilt nur mit --rule before");
    if (error.isEmpty() && rule == kVersionBeforeDate && !limit)
        error = QStringLiteral("--rule before braucht --before DATUM");
    if (!error.isEmpty() || arguments.size() != 1) {
        printError(error.isEmpty() ? QString::fromUtf8(kDirHelp) : error);
        return kUsage;
    }
    const QString start = directoryOfArgument(arguments.first());
    if (!start.contains(u'$')) {
        printError(QStringLiteral("Kein Backup-Pfad. Bitte neu wählen!"));
        return kUsage;
    }
    requireDirectory(start);
    const auto key = keyFromOptions(keyFile, setFile, error);
    if (!key) {
        printError(error);
        return kFailed;
    }

    TerminalProgress progress;
    TerminalLog log(progress);
    DirRestoreJob::Options options{QString(), start, *rule, ask, limit ? platform::toDayCount(*limit) : 0,
                                   [&key] { return *key; }, dryRun, progress.enabled(), {}, jobs, false, false, nullptr, {}};
    if (to) {
        options.newStartDirectory = windowsPathOfArgument(*to);
        if (!options.newStartDirectory.endsWith(u'\\'))
            options.newStartDirectory += u'\\';
    }
    switch (RefusedTargets(options.newStartDirectory, start)) {
    case TargetRefusal::InsideStore:
        printError("Das neue Startverzeichnis liegt in der Datensicherung selbst: " + options.newStartDirectory);
        return kUsage;
    case TargetRefusal::WholeHost:
        printError("Die Dateien gehören auf Laufwerk Z:, das hier das ganze System ist: mit --to ein neues "
                   "Startverzeichnis wählen oder das Laufwerk in QUORBIN_DRIVES zuordnen.");
        return kUsage;
    case TargetRefusal::NotAbsolute:
        printError("Das neue Startverzeichnis ist kein absoluter Pfad: " + options.newStartDirectory);
        return kUsage;
    case TargetRefusal::None:
        break;
    }
    options.warn = [&progress](const QString& warning) {
        progress.clearLine();
        printError("Warnung: " + warning);
    };
    DirRestoreJob job(options);
    const JobResult result = runStoppable(job, RestoreReporter{noStatus(), log, progress});
    progress.clearLine();
    if (!result.ok())
        printError(describe(result));
    return log.sawError || !result.ok() ? kFailed : kOk;
}

}  // namespace quorbin::cli
