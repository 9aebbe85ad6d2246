#include "app/errorreport.h"

#include "platform/errors.h"
#include "platform/userinterface.h"

#include <QGuiApplication>

namespace quorbin::app {

void ReportError(const QString& text) { ui().showMessage(text, QGuiApplication::applicationDisplayName()); }

QString errorText(const std::exception& error)
{
    if (const auto* ioError = dynamic_cast<const IoError*>(&error))
        return ioError->text();
    return QString::fromLocal8Bit(error.what());
}

}  // namespace quorbin::app
