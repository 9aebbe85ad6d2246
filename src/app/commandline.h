#pragma once
// The desktop program's own options. --help and --version are answered before any window or
// display exists; an unknown option is refused once Qt has taken its own (-platform, -style…).
#include <QStringList>

#include <optional>

namespace quorbin::app {

// The exit status when the arguments ask for the usage or the version (printed on standard
// output); nothing otherwise.
std::optional<int> answerInformationOptions(const QStringList& arguments);

// After Qt took its options: the exit status 2, with the usage on standard error, when an
// argument is still an option; nothing when the arguments are a file name or none.
std::optional<int> refuseUnknownOptions(const QStringList& arguments);

}  // namespace quorbin::app
