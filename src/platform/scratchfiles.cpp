#include "platform/scratchfiles.h"

#include <atomic>
#include <cstring>
#include <unistd.h>

namespace quorbin::platform {
namespace {

// A fixed table the signal handler can read without allocating or locking.
struct Slot {
    std::atomic<int> state{0};  // 0 free, 1 being written, 2 holds a path
    char path[4096];
};
Slot table[32];

}  // namespace

void trackScratchFile(const QString& hostPath)
{
    const QByteArray path = hostPath.toLocal8Bit();
    if (path.size() >= qsizetype(sizeof(Slot::path)))
        return;
    for (Slot& slot : table) {
        int expected = 0;
        if (!slot.state.compare_exchange_strong(expected, 1))
            continue;
        std::memcpy(slot.path, path.constData(), size_t(path.size()) + 1);
        slot.state.store(2);
        return;
    }
}

void untrackScratchFile(const QString& hostPath)
{
    const QByteArray path = hostPath.toLocal8Bit();
    for (Slot& slot : table) {
        if (slot.state.load() == 2 && std::strcmp(slot.path, path.constData()) == 0) {
            slot.state.store(0);
            return;
        }
    }
}

void removeTrackedScratchFiles()
{
    for (Slot& slot : table)
        if (slot.state.load() == 2)
            unlink(slot.path);
}

}  // namespace quorbin::platform
