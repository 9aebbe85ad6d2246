#pragma once
// One long job at a time for one window, on a worker thread of its own. The job's status
// texts, log lines and progress reach the window's sinks through queued calls, so the window
// repaints and its menu works while the job runs; "Aktion abbrechen" asks the running job to
// stop at its next check.
#include "platform/job.h"

#include <QObject>

#include <functional>
#include <memory>
#include <stop_token>

class QThread;

namespace quorbin::app {

class JobRunner : public QObject {
    Q_OBJECT
public:
    JobRunner(StatusSink& status, LogSink& log, ProgressSink& progress, QObject* parent = nullptr);
    ~JobRunner() override;  // closes down

    bool busy() const { return running_ != nullptr; }

    // Starts the job; false, with nothing started, while another one runs. `done` runs on the
    // window's thread with the result, after the job's last report arrived.
    bool start(std::unique_ptr<Job> job, std::function<void(const JobResult&)> done = {});

    // Asks the running job to stop; nothing when none runs, so no cancel is left for later.
    void cancel();

    // For a window that goes away: stops the running job, and from now on starts none and
    // calls no `done` (it would show a message for a window nobody sees any more).
    void closeDown();

    // Lets window events run until the running job has ended.
    void waitForIdle();

private:
    struct Running;
    class Forwarding;

    void end(const JobResult& result);

    StatusSink& status_;
    LogSink& log_;
    ProgressSink& progress_;
    std::unique_ptr<Running> running_;
    bool closing_ = false;
};

}  // namespace quorbin::app
