#include "cli/treeoptions.h"

#include "cli/arguments.h"
#include "cli/signalstop.h"
#include "cli/terminalprogress.h"
#include "platform/datetime.h"

#include <QCoreApplication>

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

TreeOptions takeTreeOptions(QStringList& arguments, QString& error)
{
    TreeOptions tree;
    tree.to = takeOption(arguments, QStringLiteral("--to"), error);
    const auto ruleText = takeOption(arguments, QStringLiteral("--rule"), error);
    const auto beforeText = takeOption(arguments, QStringLiteral("--before"), error);
    tree.ask = takeFlag(arguments, QStringLiteral("--ask"));
    tree.dryRun = takeFlag(arguments, QStringLiteral("--dry-run"));
    tree.jobs = takeJobs(arguments, kMaxWorkers, error);
    const auto rule = ruleNamed(ruleText.value_or(QStringLiteral("newest")));
    if (error.isEmpty() && !rule)
        error = QCoreApplication::translate("Cli", "Unbekannte Regel: %1").arg(ruleText.value_or(QString()));
    const auto limit = beforeText ? dateFromArgument(*beforeText) : std::nullopt;
    if (error.isEmpty() && beforeText && !limit)
        error = QCoreApplication::translate("Cli", "Datum nicht lesbar: %1").arg(*beforeText);
    if (error.isEmpty() && beforeText && rule != kVersionBeforeDate)
        error = QCoreApplication::translate("Cli", "--before gilt nur mit --rule before");
    if (error.isEmpty() && rule == kVersionBeforeDate && !limit)
        error = QCoreApplication::translate("Cli", "--rule before braucht --before DATUM");
    tree.rule = rule.value_or(kNewestVersion);
    tree.versionLimit = limit ? platform::toDayCount(*limit) : 0;
    return tree;
}

DirRestoreJob::Options treeJobOptions(const TreeOptions& tree, const QString& start)
{
    DirRestoreJob::Options options;
    options.startDirectory = start;
    options.rule = tree.rule;
    options.ask = tree.ask;
    options.versionLimit = tree.versionLimit;
    options.dryRun = tree.dryRun;
    options.jobs = tree.jobs;
    if (tree.to) {
        options.newStartDirectory = windowsPathOfArgument(*tree.to);
        if (!options.newStartDirectory.endsWith(u'\\'))
            options.newStartDirectory += u'\\';
    }
    return options;
}

bool refusesTargets(const DirRestoreJob::Options& options)
{
    switch (RefusedTargets(options.newStartDirectory, options.startDirectory)) {
    case TargetRefusal::InsideStore:
        printError(
            QCoreApplication::translate("Cli", "Das neue Startverzeichnis liegt in der Datensicherung selbst: %1")
                .arg(options.newStartDirectory));
        return true;
    case TargetRefusal::WholeHost:
        printError(QCoreApplication::translate(
            "Cli",
            "Die Dateien gehören auf Laufwerk Z:, das hier das ganze System ist: mit --to ein "
            "neues Startverzeichnis wählen oder das Laufwerk in QUORBIN_DRIVES zuordnen."));
        return true;
    case TargetRefusal::NotAbsolute:
        printError(QCoreApplication::translate("Cli", "Das neue Startverzeichnis ist kein absoluter Pfad: %1")
                       .arg(options.newStartDirectory));
        return true;
    case TargetRefusal::None:
        break;
    }
    return false;
}

int runTreeJob(DirRestoreJob::Options options, const std::function<void()>& after)
{
    TerminalProgress progress;
    TerminalLog log(progress);
    options.countTotals = progress.enabled();
    options.warn = [&progress](const QString& warning) {
        progress.clearLine();
        printError(QCoreApplication::translate("Cli", "Warnung: %1").arg(warning));
    };
    DirRestoreJob job(options);
    const JobResult result = runStoppable(job, RestoreReporter{noStatus(), log, progress});
    progress.clearLine();
    if (after)
        after();
    if (!result.ok())
        printError(describe(result));
    return log.sawError || !result.ok() ? kFailed : kOk;
}

}  // namespace quorbin::cli
