#pragma once
// What a page of the main window needs from the window to run its long work: the window's one
// job at a time, the key field, and the log.
#include "platform/job.h"

#include <functional>
#include <memory>

namespace quorbin::app {

class SharedKey;

class JobHost {
public:
    virtual ~JobHost() = default;

    // When the status bar tells how a job ended: always, or only when it failed or was cancelled
    // (a job whose own last status says it well enough).
    enum class EndStatus { Always, OnFailure };

    // Starts the job on the window's worker; refused (with a note, nothing modal) while another
    // long operation runs. `done` runs on the window's thread after the status told the end.
    virtual bool runJob(std::unique_ptr<Job> job, std::function<void(const JobResult&)> done = {},
                        EndStatus endStatus = EndStatus::Always) = 0;
    // True, after the note, while a long operation runs.
    virtual bool refuseWhileBusy() = 0;
    // The key field's text, readable from a job's thread.
    virtual std::shared_ptr<const SharedKey> key() const = 0;

    virtual LogSink& logSink() = 0;
    // Empties the log and brings its page to the front.
    virtual void clearLog() = 0;
    virtual void showLog() = 0;
};

}  // namespace quorbin::app
