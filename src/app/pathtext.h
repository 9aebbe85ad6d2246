#pragma once
#include <QString>

#include <optional>

namespace quorbin::app {

// A path as a person or the desktop gave it, as a Windows text: a host path (from a file
// manager or a host file dialog) becomes the Windows text of the same file; a text with a
// drive or a backslash already is one. A relative name means the same file both ways.
QString windowsTextOf(const QString& pathText);

// A path typed into a field as the Windows path it names: a Windows path stays as it is, an
// absolute host path goes through the drive map. Nothing, with the reason in `refusal`, for a
// relative path (the window has no current directory a user could know) or a host path no
// drive holds. An empty field stays empty.
std::optional<QString> fieldPath(const QString& typed, QString& refusal);

}  // namespace quorbin::app
