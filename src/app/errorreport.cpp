#include "app/errorreport.h"

#include "platform/errors.h"
#include "platform/userinterface.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace quorbin::app {

namespace {
QString& caption()
{
    static QString text;
    return text;
}
}  // namespace

void setMessageCaption(const QString& text) { caption() = text; }
QString messageCaption() { return caption(); }

void ReportError(const QString& text) { ui().showMessage(text, messageCaption()); }

void tellRestoreFailed(const JobResult& result)
{
    if (result.kind != ErrorKind::Cancelled)
        ui().showMessage(
            QCoreApplication::translate("App", "Fehler beim Zurückladen der Datei\n\n%1").arg(describe(result)),
            QString());
}

QString errorText(const std::exception& error)
{
    if (const auto* ioError = dynamic_cast<const IoError*>(&error))
        return ioError->text();
    return QString::fromLocal8Bit(error.what());
}

}  // namespace quorbin::app
