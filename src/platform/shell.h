#pragma once
#include <QString>

namespace quorbin::platform {

// Asks the desktop to open the file (a Windows text) with its associated application.
void shellOpen(const QString& path);

}  // namespace quorbin::platform
