#pragma once
#include <QString>

namespace quorbin::app {

// A path as a person or the desktop gave it, as a Windows text: a host path (from a file
// manager or a host file dialog) becomes the Windows text of the same file; a text with a
// drive or a backslash already is one. A relative name means the same file both ways.
QString windowsTextOf(const QString& pathText);

}  // namespace quorbin::app
