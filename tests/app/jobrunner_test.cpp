// The window's job runner: reports reach the window in order and before the end, one job at a
// time, and a window that goes away hears nothing more from its job.
#include "app/jobrunner.h"

#include "fixtures/recordingsinks.h"
#include "fixtures/scripteduser.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include "qstringprinter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>

namespace quorbin::app {
namespace {

// A job that does what the test tells it, on the runner's thread.
class ScriptedJob : public Job {
public:
    explicit ScriptedJob(std::function<JobResult(const JobContext&)> script) : script_(std::move(script)) {}
    JobResult run(const JobContext& context) override { return script_(context); }

private:
    std::function<JobResult(const JobContext&)> script_;
};

// Reports until it is stopped.
JobResult untilStopped(const JobContext& context)
{
    while (!context.stopRequested())
        QThread::msleep(5);
    return JobResult::cancelled();
}

class JobRunnerTest : public ::testing::Test {
protected:
    test::ScriptedUser user;
    test::RecordingStatus status;
    test::RecordingLog log;
    ProgressSink progress;
};

TEST_F(JobRunnerTest, ReportsArriveInOrderBeforeTheEndAndOneJobRunsAtATime)
{
    JobRunner runner(status, log, progress);
    std::atomic<bool> release = false;
    QStringList seenAtTheEnd;
    std::optional<JobResult> ended;

    const bool started = runner.start(std::make_unique<ScriptedJob>([&](const JobContext& context) {
                                          for (int i = 1; i <= 100; ++i)
                                              context.report.log.appendLine(QString::number(i));
                                          context.report.status.setStatus("fast fertig");
                                          while (!release)
                                              QThread::msleep(2);
                                          return JobResult::failure(ErrorKind::Damaged, "kaputt", "/x");
                                      }),
                                      [&](const JobResult& result) {
                                          seenAtTheEnd = log.lines;
                                          ended = result;
                                      });
    ASSERT_TRUE(started);
    EXPECT_TRUE(runner.busy());
    EXPECT_FALSE(runner.start(std::make_unique<ScriptedJob>(untilStopped))) << "a second job waits its turn";
    release = true;
    runner.waitForIdle();

    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->kind, ErrorKind::Damaged);
    EXPECT_EQ(describe(*ended), "kaputt: /x");
    ASSERT_EQ(seenAtTheEnd.size(), 100);
    EXPECT_EQ(seenAtTheEnd.first(), "1");
    EXPECT_EQ(seenAtTheEnd.last(), "100");
    EXPECT_EQ(status.texts, QStringList{"fast fertig"});
    EXPECT_EQ(user.pointerChanges, (QList<Pointer>{Pointer::Busy, Pointer::Normal}));
    EXPECT_TRUE(runner.start(std::make_unique<ScriptedJob>([](const JobContext&) { return JobResult::success(); })));
    runner.waitForIdle();
}

TEST_F(JobRunnerTest, ACancelReachesTheRunningJobOnlyAndAnIdleCancelIsForgotten)
{
    JobRunner runner(status, log, progress);
    runner.cancel();
    std::optional<JobResult> ended;
    runner.start(std::make_unique<ScriptedJob>([](const JobContext& context) {
                     return context.stopRequested() ? JobResult::cancelled() : JobResult::success();
                 }),
                 [&](const JobResult& result) { ended = result; });
    runner.waitForIdle();
    ASSERT_TRUE(ended);
    EXPECT_TRUE(ended->ok()) << "the cancel given while nothing ran";

    runner.start(std::make_unique<ScriptedJob>(untilStopped), [&](const JobResult& result) { ended = result; });
    runner.cancel();
    runner.waitForIdle();
    EXPECT_EQ(ended->kind, ErrorKind::Cancelled);
}

TEST_F(JobRunnerTest, AWindowThatGoesAwayStopsItsJobAndHearsNothingMore)
{
    bool doneCalled = false;
    QElapsedTimer clock;
    {
        JobRunner runner(status, log, progress);
        runner.start(std::make_unique<ScriptedJob>(untilStopped), [&](const JobResult&) { doneCalled = true; });
        runner.closeDown();
        EXPECT_FALSE(runner.start(std::make_unique<ScriptedJob>(untilStopped))) << "nothing new while closing";
        clock.start();
    }
    EXPECT_FALSE(doneCalled) << "no message for a window nobody sees";
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(user.pointer(), Pointer::Normal);
}

}  // namespace
}  // namespace quorbin::app
