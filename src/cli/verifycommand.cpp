#include "cli/arguments.h"
#include "cli/commands.h"

namespace quorbin::cli {

const char* const kVerifyHelp = "quorbin-restore verify\n";

int runVerify(QStringList)
{
    printError(QStringLiteral("noch nicht verfügbar"));
    return kFailed;
}

}  // namespace quorbin::cli
