#include "app/pathtext.h"

#include "platform/winpath.h"

#include <QCoreApplication>

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
        refusal = QCoreApplication::translate(
                      "App", "Kein vollständiger Pfad: %1\nBitte mit Laufwerk (C:\\…) oder ab / angeben.")
                      .arg(text);
        return {};
    }
    const QString windows = platform::toWindowsPath(text);
    if (windows.isEmpty()) {
        refusal = QCoreApplication::translate("App", "Der Pfad liegt auf keinem Laufwerk: %1").arg(text);
        return {};
    }
    return windows;
}

}  // namespace quorbin::app
