#include "cli/signalstop.h"

#include "platform/scratchfiles.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include <pthread.h>
#include <signal.h>

namespace quorbin::cli {
namespace {

// Long enough for any buffer or network wait to reach its next check.
constexpr auto kGrace = std::chrono::seconds(5);

std::stop_source& processStop()
{
    static std::stop_source source;
    return source;
}

std::atomic<int> caught{0};
std::atomic<bool> waitingOnTerminal{false};

sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, s);
    return set;
}

void watch()
{
    const sigset_t set = stopSignals();
    int signal = 0;
    if (sigwait(&set, &signal) != 0)
        return;
    caught = signal;
    processStop().request_stop();
    // A second signal, a question waiting on the terminal, or a job that does not come to an
    // end soon ends the process here.
    const auto deadline = std::chrono::steady_clock::now() + kGrace;
    constexpr timespec kSlice{0, 100'000'000};
    siginfo_t info;
    while (!waitingOnTerminal && std::chrono::steady_clock::now() < deadline) {
        if (sigtimedwait(&set, &info, &kSlice) > 0)
            break;
    }
    platform::removeTrackedScratchFiles();
    dieBySignal(signal);
}

}  // namespace

void stopOnSignals()
{
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(watch).detach();
}

std::stop_token signalStopToken() { return processStop().get_token(); }

int caughtSignal() { return caught; }

WaitingOnTerminal::WaitingOnTerminal() { waitingOnTerminal = true; }

WaitingOnTerminal::~WaitingOnTerminal() { waitingOnTerminal = false; }

JobResult runStoppable(Job& job, const RestoreReporter& report)
{
    return job.run(JobContext{signalStopToken(), report});
}

void dieBySignal(int signal)
{
    std::signal(signal, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, signal);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    // Only this thread has it unblocked now, so the default action ends the whole process.
    raise(signal);
    std::_Exit(128 + signal);
}

}  // namespace quorbin::cli
