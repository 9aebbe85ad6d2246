#include "app/errorreport.h"

#include "platform/errors.h"
#include "platform/userinterface.h"

#include <QGuiApplication>

namespace quorbin::app {

void ReportError(const std::exception& error)
{
    const auto* ioError = dynamic_cast<const IoError*>(&error);
    const QString text = ioError ? ioError->text() : QString::fromLocal8Bit(error.what());
    ui().showMessage(text, QGuiApplication::applicationDisplayName());
}

}  // namespace quorbin::app
