#include "cli/arguments.h"
#include "cli/commands.h"

namespace quorbin::cli {

const char* const kFindHelp = "quorbin-restore find\n";

int runFind(QStringList)
{
    printError(QStringLiteral("noch nicht verfügbar"));
    return kFailed;
}

}  // namespace quorbin::cli
