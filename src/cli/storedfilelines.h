#pragma once
// What find and versions share: where the search starts, and the lines about a file's versions.
#include "engine/storedfiles.h"

#include <QString>
#include <optional>

namespace quorbin::cli {

// The store directory to search: START-DIR when given (a usage error when it does not exist),
// else the target folder of the backup set. Nothing, and why in `error`, when the set or its
// target cannot be read.
std::optional<QString> storeStartOf(const QString& startArgument, const std::optional<QString>& setFile,
                                    QString& error);

// The store path of the file without version suffix: what the warnings name.
QString storedBasePath(const StoredFileVersions& file);

// "date<TAB>store path" for each version, oldest first, and the warning when the first version
// (through which dir restores the file) is missing.
void printVersionLines(const StoredFileVersions& file);
void warnWithoutFirstVersion(const QString& basePath);

}  // namespace quorbin::cli
