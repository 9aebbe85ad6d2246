#include "platform/scratchfiles.h"

#include "platform/hostnames.h"

#include <atomic>
#include <cstring>
#include <iterator>
#include <unistd.h>

namespace quorbin::platform {
namespace {

// A fixed table the signal handler can read without allocating or locking.
struct Slot {
    std::atomic<int> state{0};  // 0 free, 1 being written, 2 holds a path
    char path[4096];
};
Slot table[kMaxScratchFiles];

}  // namespace

int trackScratchFile(const QString& hostPath)
{
    const QByteArray path = hostBytes(hostPath);
    if (path.size() >= qsizetype(sizeof(Slot::path)))
        return -1;
    for (int place = 0; place < int(std::size(table)); ++place) {
        Slot& slot = table[place];
        int expected = 0;
        if (!slot.state.compare_exchange_strong(expected, 1))
            continue;
        std::memcpy(slot.path, path.constData(), size_t(path.size()) + 1);
        slot.state.store(2);
        return place;
    }
    return -1;
}

void untrackScratchFile(int place)
{
    if (place >= 0 && place < int(std::size(table)))
        table[place].state.store(0);
}

void removeTrackedScratchFiles()
{
    for (Slot& slot : table)
        if (slot.state.load() == 2)
            unlink(slot.path);
}

}  // namespace quorbin::platform
