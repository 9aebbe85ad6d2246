#include "cli/arguments.h"
#include "cli/commands.h"
#include "engine/storepath.h"

namespace quorbin::cli {

const char* const kDecodeHelp =
    "quorbin-restore decode [--dir] TEXT\n"
    "\n"
    "Prints the original path that a store path stands for. Without --dir TEXT is a stored\n"
    "file and its version suffix is dropped; with --dir it is a store directory.\n";

int runDecode(QStringList arguments)
{
    const bool directory = takeFlag(arguments, QStringLiteral("--dir"));
    if (arguments.size() != 1) {
        printError(QString::fromUtf8(kDecodeHelp));
        return kUsage;
    }
    // A relative or host path is a store path of this machine: its Windows text is decoded.
    const QString storePath = windowsPathOfArgument(arguments.first());
    const QString decoded = directory ? DecodeStoreDir(storePath) : DecodeStoreFile(storePath);
    if (decoded.isEmpty()) {
        printError("Kein Backup-Pfad (keine Laufwerks- oder Serverebene \"X$\" oder \"$$\"): " + storePath);
        return kFailed;
    }
    printRecord(decoded);
    return kOk;
}

}  // namespace quorbin::cli
