#include "app/exithook.h"

#include <QCoreApplication>

namespace quorbin::app {
namespace {

// The message loop ends; main then leaves with 0 whatever the code, as the program always
// did. Nothing after the command's last step runs.
void leaveMessageLoop(int exitCode) { QCoreApplication::exit(exitCode); }

ExitHook& installedHook()
{
    static ExitHook hook = leaveMessageLoop;
    return hook;
}

}  // namespace

void EndProcess(int exitCode) { installedHook()(exitCode); }

ExitHook setExitHook(ExitHook hook)
{
    ExitHook previous = installedHook();
    installedHook() = hook ? std::move(hook) : ExitHook(leaveMessageLoop);
    return previous;
}

}  // namespace quorbin::app
