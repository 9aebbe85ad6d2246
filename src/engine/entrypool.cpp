#include "engine/entrypool.h"

#include <algorithm>
#include <atomic>
#include <chrono>

namespace quorbin {
namespace {

// How far the walk may run ahead of the oldest unit not yet told: far enough to reach the next
// folders while a large one is restored, small enough to keep the recorded lines in memory.
constexpr std::size_t kWindow = 4096;
// How many finished units wake a walk that waits for the window; it also looks every 100 ms.
constexpr std::size_t kTellBatch = 64;

}  // namespace

// What one unit told, kept to be told again in walk order.
class EntryPool::Recorder : public StatusSink, public LogSink, public ProgressSink {
public:
    void setStatus(const QString& text) override { events.push_back([text](const DirRestore& w) { w.reporter.status.setStatus(text); }); }
    void appendLine(const QString& line) override { events.push_back([line](const DirRestore& w) { w.reporter.log.appendLine(line); }); }
    void advanced(qint64, qint64 soFar) override { bytes = soFar; }

    std::vector<std::function<void(const DirRestore&)>> events;
    std::atomic<qint64> bytes = 0;  // read by the walking thread for the progress display
};

struct EntryPool::Slot {
    Unit unit;
    QString folder;
    Recorder recorder;
    bool done = false;
};

EntryPool::EntryPool(const DirRestore& walk, int workers)
    : walk_(walk), window_(kWindow)
{
    for (int i = 0; i < std::max(1, workers); ++i)
        threads_.emplace_back([this] { work(); });
}

EntryPool::~EntryPool() { finish(); }

void EntryPool::run(Unit unit, const QString& folder)
{
    auto slot = std::make_shared<Slot>();
    slot->unit = std::move(unit);
    slot->folder = folder;
    bool wake = false;
    {
        const std::lock_guard guard(lock_);
        inOrder_.push_back(slot);
        if (waiting_.empty() || waiting_.back().folder != folder)
            waiting_.push_back(Waiting{folder, {}});
        waiting_.back().queued.push_back(slot);
        wake = idleWorkers_ > 0;
    }
    // Each wake-up costs a system call and a switch of threads: only an idle worker is woken.
    if (wake)
        workAvailable_.notify_one();
    tellFinished();
    // A bounded window: the walk does not run ahead of the restores by more than that.
    waitWhile([this] { return inOrder_.size() >= window_; });
}

void EntryPool::finish()
{
    waitWhile([this] { return !inOrder_.empty(); });
    {
        const std::lock_guard guard(lock_);
        closing_ = true;
    }
    workAvailable_.notify_all();
    threads_.clear();  // joins
}

// Waits on the walking thread while `blocked` holds, telling what finished meanwhile.
void EntryPool::waitWhile(const std::function<bool()>& blocked)
{
    std::unique_lock held(lock_);
    while (blocked()) {
        walkerWaits_ = true;
        unitDone_.wait_for(held, std::chrono::milliseconds(100));
        walkerWaits_ = false;
        held.unlock();
        tellFinished();
        held.lock();
    }
}

void EntryPool::work()
{
    for (;;) {
        std::shared_ptr<Slot> slot;
        {
            std::unique_lock held(lock_);
            ++idleWorkers_;
            workAvailable_.wait(held, [this] { return (closing_ && waiting_.empty()) || nextFree() != waiting_.end(); });
            --idleWorkers_;
            const auto next = nextFree();
            if (next == waiting_.end())
                return;
            slot = next->queued.front();
            next->queued.pop_front();
            if (next->queued.empty())
                waiting_.erase(next);
            busyFolders_.insert(slot->folder);
        }
        if (!walk_.stop.stop_requested()) {
            Recorder& recorder = slot->recorder;
            const DirRestore own{
                walk_.newStartDirectory,
                walk_.startDirectory,
                walk_.rule,
                walk_.ask,
                walk_.versionLimit,
                RestoreReporter{recorder, recorder, recorder},
                walk_.key,
                walk_.dryRun,
                [&recorder](const QString& shownPath, const JobResult& result) {
                    const qint64 bytes = recorder.bytes;
                    recorder.events.push_back([shownPath, result, bytes](const DirRestore& w) {
                        w.reporter.progress.advanced(0, bytes);
                        if (w.fileDone)
                            w.fileDone(shownPath, result);
                    });
                },
                walk_.stop,
                [&recorder](const QString& warning) {
                    recorder.events.push_back([warning](const DirRestore& w) {
                        if (w.warn)
                            w.warn(warning);
                    });
                },
                [&recorder](const QString& basePath, const QStringList& names) {
                    recorder.events.push_back([basePath, names](const DirRestore& w) {
                        if (w.laterVersionsOnly)
                            w.laterVersionsOnly(basePath, names);
                    });
                },
                walk_.verifyOnly,
                walk_.everyVersion,
                walk_.store,
                [&recorder](const QString& folder, const JobResult& result) {
                    recorder.events.push_back([folder, result](const DirRestore& w) {
                        if (w.folderUnread)
                            w.folderUnread(folder, result);
                    });
                },
            };
            try {
                slot->unit(own);
            } catch (...) {
                // One entry's failure never ends the walk.
            }
        }
        bool wakeWalker = false;
        bool wakeWorker = false;
        {
            const std::lock_guard guard(lock_);
            slot->done = true;
            busyFolders_.remove(slot->folder);
            // The waiting walk is woken for a batch of lines to tell, or for the last ones.
            ++doneUntold_;
            wakeWalker = walkerWaits_ && (doneUntold_ >= kTellBatch || doneUntold_ == inOrder_.size());
            // Units of the folder just left may wait for a worker other than this one.
            wakeWorker = idleWorkers_ > 0 && nextFree() != waiting_.end();
        }
        if (wakeWalker)
            unitDone_.notify_one();
        if (wakeWorker)
            workAvailable_.notify_one();
    }
}

std::deque<EntryPool::Waiting>::iterator EntryPool::nextFree()
{
    // A store that waits on the network gains from two workers in one folder.
    if (walk_.store && walk_.store->sharesFolders())
        return waiting_.begin();
    return std::find_if(waiting_.begin(), waiting_.end(),
                        [this](const Waiting& waiting) { return !busyFolders_.contains(waiting.folder); });
}

void EntryPool::tellFinished()
{
    for (;;) {
        std::vector<std::shared_ptr<Slot>> finished;
        qint64 inHand = 0;
        {
            const std::lock_guard guard(lock_);
            while (!inOrder_.empty() && inOrder_.front()->done) {
                finished.push_back(std::move(inOrder_.front()));
                inOrder_.pop_front();
            }
            doneUntold_ -= finished.size();
            if (finished.empty() && std::chrono::steady_clock::now() >= nextProgress_) {
                // The files in hand, so far: summed now and then, the window may be long.
                nextProgress_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
                for (const auto& s : inOrder_)
                    inHand += s->recorder.bytes;
            }
        }
        if (finished.empty()) {
            if (inHand > 0)
                walk_.reporter.progress.advanced(0, inHand);
            return;
        }
        for (const auto& slot : finished)
            for (const auto& event : slot->recorder.events)
                event(walk_);
    }
}

}  // namespace quorbin
