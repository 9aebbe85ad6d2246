#pragma once
// What the commands of quorbin-restore share: paths, keys and exit codes.
#include <QString>
#include <QStringList>
#include <optional>

namespace quorbin::cli {

enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };

// "X:..." and "\\..." are Windows paths (through the drive map); anything else is a host path.
QString windowsPathOfArgument(const QString& argument);

// Takes "--name VALUE" out of the arguments; nothing when absent. A missing value is a usage
// error, reported through `error`.
std::optional<QString> takeOption(QStringList& arguments, const QString& name, QString& error);
bool takeFlag(QStringList& arguments, const QString& name);

// The key: --key-file FILE (UTF-8, one trailing newline dropped), else $QUORBIN_KEY, else none.
std::optional<QString> readKey(const std::optional<QString>& keyFile, QString& error);

void printLine(const QString& text);
void printError(const QString& text);

}  // namespace quorbin::cli
