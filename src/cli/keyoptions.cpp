#include "cli/arguments.h"
#include "cli/commands.h"

namespace quorbin::cli {

std::optional<QString> keyFromOptions(const std::optional<QString>& keyFile, const std::optional<QString>& setFile,
                                      QString& error)
{
    if (keyFile || !setFile)
        return readKey(keyFile, error);
    const std::optional<BackupSet> set = readSetArgument(*setFile, error);
    if (!set)
        return {};
    return set->SCHLUESSEL;
}

}  // namespace quorbin::cli
