#pragma once
// The application's one top-level error report: an error that escapes a command is shown in a
// message box with its text, and the window stays usable.
#include <exception>
#include <utility>

namespace quorbin::app {

void ReportError(const std::exception& error);

// Wraps a window's command so that an escaping error reaches ReportError instead of the
// message loop (which must never see an exception).
template <class Command>
auto guarded(Command command)
{
    return [command = std::move(command)]() {
        try {
            command();
        } catch (const std::exception& error) {
            ReportError(error);
        }
    };
}

}  // namespace quorbin::app
