#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/terminalprogress.h"
#include "engine/restore.h"
#include "platform/files.h"

namespace quorbin::cli {

const char* const kFileHelp =
    "quorbin-restore file STORED TARGET [--date TEXT] [--key-file FILE] [--set SETFILE]\n"
    "\n"
    "Restores one stored file (.nxz container) to TARGET: deciphers it with the key, expands\n"
    "it, and stamps the result with the stored version's time, or with --date DATE\n"
    "(\"DD.MM.YYYY HH:MM\", \"YYYY-MM-DD HH:MM\" or the date form of the log lines).\n"
    "An existing TARGET is replaced only when the restore succeeded.\n"
    "\n"
    "The key comes from --key-file FILE (UTF-8, one trailing newline dropped), else from the\n"
    "key of the backup set SETFILE (empty there: no key), else from the environment variable\n"
    "QUORBIN_KEY; without any of them no key is applied.\n"
    "Paths beginning with a drive letter and \":\" or with \"\\\\\" are Windows paths;\n"
    "any other path is a path of this machine.\n"
    "\n"
    "Exit status: 0 restored, 1 not restored (reason on stderr), 2 usage error.\n";

int runFile(QStringList arguments)
{
    QString error;
    const auto date = takeOption(arguments, QStringLiteral("--date"), error);
    const auto keyFile = takeOption(arguments, QStringLiteral("--key-file"), error);
    const auto setFile = takeOption(arguments, QStringLiteral("--set"), error);
    const auto stamp = date ? dateFromArgument(*date) : std::nullopt;
    if (error.isEmpty() && date && !stamp)
        error = "Datum nicht lesbar: " + *date;
    if (!error.isEmpty() || arguments.size() != 2) {
        printError(error.isEmpty() ? QString::fromUtf8(kFileHelp) : error);
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
        printError("Nicht wiederhergestellt: " + describe(result));
        return kFailed;
    }
    return kOk;
}

}  // namespace quorbin::cli
