#include "platform/shell.h"

#include "platform/userinterface.h"
#include "platform/winpath.h"

namespace quorbin::platform {

void shellOpen(const QString& path) { ui().openWithDesktop(toHostPath(path)); }

}  // namespace quorbin::platform
