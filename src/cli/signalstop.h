#pragma once
// Ctrl-C for the command line: SIGINT, SIGTERM and SIGHUP ask the running job to stop, so it
// ends through its own clean-up (half-written files removed, the old target kept). The signals
// are taken by a thread of their own; a job that does not end soon after (a question waiting
// on the terminal) is ended the hard way, after the tracked scratch files were removed.
#include "platform/job.h"

#include <stop_token>

namespace quorbin::cli {

// Blocks the signals in this and every later thread and starts the watcher. Call first in main.
void stopOnSignals();

// The process's stop token: set once a signal arrived.
std::stop_token signalStopToken();

// The signal that arrived, 0 when none.
int caughtSignal();

// While it lives, the process waits for an answer on the terminal; a signal then ends the
// process at once instead of waiting for the job to reach its next check.
class WaitingOnTerminal {
public:
    WaitingOnTerminal();
    ~WaitingOnTerminal();
    WaitingOnTerminal(const WaitingOnTerminal&) = delete;
    WaitingOnTerminal& operator=(const WaitingOnTerminal&) = delete;
};

// Runs the job on this thread, stopped by the signals.
JobResult runStoppable(Job& job, const RestoreReporter& report);

// Ends the process by the signal that arrived, as its default action would.
[[noreturn]] void dieBySignal(int signal);

}  // namespace quorbin::cli
