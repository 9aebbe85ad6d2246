#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/treeoptions.h"
#include "engine/dirrestore.h"
#include "platform/files.h"


namespace quorbin::cli {

const char* const kDirHelp =
    "quorbin-restore dir START-DIR [--to NEW-DIR] [--rule original|before|newest]\n"
    "                    [--before DATE] [--ask] [--set SETFILE] [--key-file FILE] [--dry-run]\n"
    "                    [--jobs N]\n"
    "\n"
    "Restores every stored file below START-DIR, a store directory below a drive or server\n"
    "level (its path holds \"$\"), as the window's \"Zurückladen\" does, and prints the log lines:\n"
    "\"start\", one line per stored file, \"fertig\"; when files were written, a last line\n"
    "\"wiederhergestellt nach: HOST-DIR\" names where the tree lies on this machine.\n"
    "\n"
    "  --to NEW-DIR   rebuild the tree below NEW-DIR instead of the original paths\n"
    "  --rule         original: the first stored version; newest (default): the newest;\n"
    "                 before: the newest version before --before DATE\n"
    "  --before DATE  \"DD.MM.YYYY HH:MM\" or \"YYYY-MM-DD HH:MM\"; needed for --rule before\n"
    "  --ask          ask on the terminal before an existing file is replaced\n"
    "  --dry-run      write nothing; print the lines for what would be restored, each\n"
    "                 chosen container read to its end, so a file that would fail gets its\n"
    "                 ERROR line and the exit status is that of a real run\n"
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
    const auto setFile = takeOption(arguments, QStringLiteral("--set"), error);
    const auto keyFile = takeOption(arguments, QStringLiteral("--key-file"), error);
    const TreeOptions tree = takeTreeOptions(arguments, error);
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

    DirRestoreJob::Options options = treeJobOptions(tree, start);
    options.key = [&key] { return *key; };
    if (refusesTargets(options))
        return kUsage;
    return runTreeJob(options);
}

}  // namespace quorbin::cli
