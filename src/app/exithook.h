#pragma once
// The one way a command ends the program. Tests replace the hook to run commands in-process.
#include <functional>

namespace quorbin::app {

using ExitHook = std::function<void(int exitCode)>;

// Ends the program with the exit code through the installed hook.
void EndProcess(int exitCode);

// Installs a hook (an empty one brings back the default) and returns the one before.
ExitHook setExitHook(ExitHook hook);

}  // namespace quorbin::app
