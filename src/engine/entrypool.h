#pragma once
// Restores the entries of a walk on several threads while everything the walk tells (log
// lines, status, warnings, each file's end) comes out in walk order, from the walking thread,
// exactly as a walk on one thread tells it.
#include "engine/dirrestore.h"

#include <QSet>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quorbin {

class EntryPool {
public:
    // One unit of the walk: it tells what it does to the walk it is handed.
    using Unit = std::function<void(const DirRestore& walk)>;

    // `walk` is where everything goes in the end; `workers` threads restore.
    EntryPool(const DirRestore& walk, int workers);
    ~EntryPool();
    EntryPool(const EntryPool&) = delete;
    EntryPool& operator=(const EntryPool&) = delete;

    // Hands over the next unit; tells what the units before it did, and waits while too many
    // are in hand. Called by the walking thread only. Once the walk's stop token is set, units
    // not yet begun are dropped, as a walk on one thread never begins them. Units of one
    // `folder` run one at a time: files made side by side in one folder wait for each other
    // in the file system, so the workers take different folders (unless the
    // store shares folders: see StoreAccess::sharesFolders).
    void run(Unit unit, const QString& folder);
    // Waits for every unit and tells what the rest did.
    void finish();

private:
    struct Slot;
    class Recorder;
    void work();
    void tellFinished();
    void waitWhile(const std::function<bool()>& blocked);

    const DirRestore& walk_;
    std::mutex lock_;
    std::condition_variable workAvailable_;  // for idle workers
    std::condition_variable unitDone_;       // for the walking thread, when it waits
    int idleWorkers_ = 0;
    bool walkerWaits_ = false;
    std::size_t doneUntold_ = 0;  // finished units not yet told
    std::deque<std::shared_ptr<Slot>> inOrder_;  // handed over, not yet told
    // Not yet begun, folder by folder in walk order: picking the next unit looks at folders,
    // not at every unit in the window. A folder may come twice when the walk went below it
    // and came back.
    struct Waiting {
        QString folder;
        std::deque<std::shared_ptr<Slot>> queued;
    };
    std::deque<Waiting> waiting_;
    QSet<QString> busyFolders_;  // of the units running now
    std::deque<Waiting>::iterator nextFree();
    bool closing_ = false;
    std::size_t window_;
    std::chrono::steady_clock::time_point nextProgress_;  // of the walking thread
    std::vector<std::jthread> threads_;
};

}  // namespace quorbin
