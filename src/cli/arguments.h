#pragma once
// What the commands of quorbin-restore share: paths, keys and exit codes.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

namespace quorbin::cli {

enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };

// A command-line argument that cannot be used; main prints it and exits with kUsage.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& message) : std::runtime_error(message.toStdString()), text(message) {}
    QString text;
};

// "X:..." and "\\..." are Windows paths (through the drive map); anything else is a host path.
// Throws UsageError for a host path that no drive holds.
QString windowsPathOfArgument(const QString& argument);

// The same for a directory, without trailing separators.
QString directoryOfArgument(const QString& argument);
// Throws UsageError when the directory does not exist.
void requireDirectory(const QString& directory);
// Takes "--name VALUE" out of the arguments; nothing when absent. A missing value is a usage
// error, reported through `error`.
std::optional<QString> takeOption(QStringList& arguments, const QString& name, QString& error);
bool takeFlag(QStringList& arguments, const QString& name);
// "--jobs N" with N from 1 to `most`; 0 when absent or (with the reason in `error`) invalid.
int takeJobs(QStringList& arguments, int most, QString& error);

// The key: --key-file FILE (UTF-8, one trailing newline dropped), else $QUORBIN_KEY, else none.
std::optional<QString> readKey(const std::optional<QString>& keyFile, QString& error);

// A date and time as the options take it: "DD.MM.YYYY HH:MM", "YYYY-MM-DD HH:MM", or the
// user's own form as the log lines show it. Nothing for any other text.
std::optional<QDateTime> dateFromArgument(const QString& text);

// A command's help (marked for translation where it is defined) in the user's language.
QString helpText(const char* help);

void printLine(const QString& text);
void printError(const QString& text);

// A line that carries names from the store or the server: control characters are shown
// escaped (\r, \x1b, …), so a name cannot hide or rewrite what the terminal shows.
void printRecord(const QString& line);
// Control characters escaped; line breaks too unless they are kept.
QString terminalSafe(const QString& text, bool keepLineBreaks = false);

}  // namespace quorbin::cli
