#pragma once
// The application's one top-level error report: an error that escapes a command is shown in a
// message box with its text, and the window stays usable.
#include "platform/job.h"

#include <QCoreApplication>
#include <QString>

#include <exception>
#include <utility>

namespace quorbin::app {

void ReportError(const QString& text);
// The caption of the program's message boxes. Kept apart from Qt's application display name,
// which the desktop would append to every window title.
void setMessageCaption(const QString& text);
QString messageCaption();
// The text of an error: an IoError's own text, else what the exception says.
QString errorText(const std::exception& error);

// "Fehler beim Zurückladen der Datei" with the cause and the path below it; nothing for a
// cancel, which was the user's own wish.
void tellRestoreFailed(const JobResult& result);

// Wraps a window's command so that an escaping error reaches ReportError instead of the
// message loop (which must never see an exception).
template <class Command>
auto guarded(Command command)
{
    return [command = std::move(command)]() {
        try {
            command();
        } catch (const std::exception& error) {
            ReportError(errorText(error));
        } catch (...) {
            ReportError(QCoreApplication::translate("App", "Unbekannter Fehler"));
        }
    };
}

}  // namespace quorbin::app
