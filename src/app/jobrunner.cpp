#include "app/jobrunner.h"

#include "platform/userinterface.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMetaObject>
#include <QThread>

#include <optional>


namespace quorbin::app {

// The sinks the job writes to on its thread; each report is queued to the window's sink. Byte
// progress comes after every buffer: it is passed on at most every 50 ms, and the last one
// before the job's end.
class JobRunner::Forwarding : public StatusSink, public LogSink, public ProgressSink {
public:
    Forwarding(JobRunner& runner) : runner_(runner) { sincePassed_.start(); }

    void setStatus(const QString& text) override
    {
        post([this, text] { runner_.status_.setStatus(text); });
    }
    void appendLine(const QString& line) override
    {
        post([this, line] { runner_.log_.appendLine(line); });
    }
    void setPosition(int position) override
    {
        post([this, position] { runner_.progress_.setPosition(position); });
    }
    void setMarquee(bool on) override
    {
        post([this, on] { runner_.progress_.setMarquee(on); });
    }
    void started(qint64 files, qint64 bytes) override
    {
        post([this, files, bytes] { runner_.progress_.started(files, bytes); });
    }
    void advanced(qint64 files, qint64 bytes) override
    {
        held_ = {files, bytes};
        if (files == passed_.files && sincePassed_.elapsed() < 50)
            return;
        pass();
    }
    void item(const QString& text) override
    {
        post([this, text] { runner_.progress_.item(text); });
    }
    void finished() override
    {
        if (held_.files != passed_.files || held_.bytes != passed_.bytes)
            pass();
        post([this] { runner_.progress_.finished(); });
    }

private:
    struct Counts {
        qint64 files = -1;
        qint64 bytes = -1;
    };

    void pass()
    {
        passed_ = held_;
        sincePassed_.restart();
        post([this, counts = held_] { runner_.progress_.advanced(counts.files, counts.bytes); });
    }

    template <typename Call>
    void post(Call call)
    {
        QMetaObject::invokeMethod(&runner_, std::move(call), Qt::QueuedConnection);
    }

    JobRunner& runner_;
    QElapsedTimer sincePassed_;
    Counts held_;    // the last report
    Counts passed_;  // the last one passed on
};

struct JobRunner::Running {
    std::unique_ptr<Job> job;
    std::function<void(const JobResult&)> done;
    std::stop_source stop;
    std::unique_ptr<Forwarding> sinks;
    QThread* thread = nullptr;
    std::optional<BusyPointer> busy{std::in_place};
};

JobRunner::JobRunner(StatusSink& status, LogSink& log, ProgressSink& progress, QObject* parent)
    : QObject(parent), status_(status), log_(log), progress_(progress)
{
}

JobRunner::~JobRunner()
{
    closeDown();
    waitForIdle();
}

void JobRunner::closeDown()
{
    closing_ = true;
    cancel();
}

bool JobRunner::start(std::unique_ptr<Job> job, std::function<void(const JobResult&)> done)
{
    if (busy() || closing_)
        return false;
    running_ = std::make_unique<Running>();
    Running& running = *running_;
    running.job = std::move(job);
    running.done = std::move(done);
    running.sinks = std::make_unique<Forwarding>(*this);
    const JobContext context{running.stop.get_token(),
                             RestoreReporter{*running.sinks, *running.sinks, *running.sinks}};
    running.thread = QThread::create([this, &running, context] {
        JobResult result;
        try {
            result = running.job->run(context);
        } catch (const std::exception& e) {
            result = JobResult::failure(ErrorKind::Refused, QString::fromLocal8Bit(e.what()));
        } catch (...) {
            // Nothing may leave the worker thread; the window learns that the job failed.
            result = JobResult::failure(ErrorKind::Refused, tr("Unbekannter Fehler"));
        }
        // Queued behind the job's last report, so the window sees them in order.
        QMetaObject::invokeMethod(this, [this, result] { end(result); }, Qt::QueuedConnection);
    });
    running.thread->start();
    return true;
}

void JobRunner::cancel()
{
    if (running_)
        running_->stop.request_stop();
}

void JobRunner::waitForIdle()
{
    // Not a nested event loop: after the application was told to quit, one would return at once
    // and leave the job running while its runner goes away.
    while (busy())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void JobRunner::end(const JobResult& result)
{
    const std::unique_ptr<Running> ended = std::move(running_);
    ended->thread->wait();
    delete ended->thread;
    // Before `done`, which may start the next job with a pointer of its own; the job itself
    // stays until after `done`, which may read its results.
    ended->busy.reset();
    if (ended->done && !closing_)
        ended->done(result);
}

}  // namespace quorbin::app
