#include "app/pathtext.h"

#include "platform/winpath.h"

namespace quorbin::app {

QString windowsTextOf(const QString& pathText)
{
    if (pathText.isEmpty() || platform::looksLikeWindowsPath(pathText) || pathText.contains(u'\\'))
        return pathText;
    return platform::toWindowsPath(pathText);
}

}  // namespace quorbin::app
