#include "app/pathtext.h"

#include "platform/winpath.h"

namespace quorbin::app {

QString windowsTextOf(const QString& pathText)
{
    if (pathText.isEmpty() || platform::looksLikeWindowsPath(pathText) || pathText.contains(u'\\'))
        return pathText;
    return platform::toWindowsPath(pathText);
}

std::optional<QString> fieldPath(const QString& typed, QString& refusal)
{
    const QString text = typed.trimmed();
    if (text.isEmpty() || platform::isAbsoluteWindowsPath(text))
        return text;
    if (!text.startsWith(u'/')) {
        refusal = "Kein vollständiger Pfad: " + text + QStringLiteral("\nBitte mit Laufwerk (C:\\…) oder ab / angeben.");
        return {};
    }
    const QString windows = platform::toWindowsPath(text);
    if (windows.isEmpty()) {
        refusal = "Der Pfad liegt auf keinem Laufwerk: " + text;
        return {};
    }
    return windows;
}

}  // namespace quorbin::app
