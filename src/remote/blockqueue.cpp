#include "remote/blockqueue.h"

#include <algorithm>
#include <cstring>

namespace quorbin {

BlockQueue::BlockQueue(qsizetype blockSize, int blocks) : blockSize_(blockSize)
{
    for (int i = 0; i < blocks; ++i) {
        blocks_.push_back(std::make_unique_for_overwrite<unsigned char[]>(std::size_t(blockSize)));
        free_.push_back(i);
    }
}

bool BlockQueue::put(const char* data, qsizetype size)
{
    while (size > 0) {
        if (filling_ < 0) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return closed_ || !free_.empty(); });
            if (closed_)
                return false;
            filling_ = free_.front();
            free_.pop_front();
            filled_ = 0;
        }
        const qsizetype part = std::min(size, blockSize_ - filled_);
        std::memcpy(blocks_[std::size_t(filling_)].get() + filled_, data, std::size_t(part));
        filled_ += part;
        data += part;
        size -= part;
        if (filled_ == blockSize_ && !handOver())
            return false;
    }
    return !closed();
}

bool BlockQueue::handOver()
{
    {
        const std::lock_guard lock(mutex_);
        if (closed_)
            return false;
        full_.push_back(Slot{filling_, filled_});
    }
    filling_ = -1;
    changed_.notify_all();
    return true;
}

void BlockQueue::finish()
{
    if (filling_ >= 0 && filled_ > 0)
        handOver();
    {
        const std::lock_guard lock(mutex_);
        finished_ = true;
    }
    changed_.notify_all();
}

BlockQueue::Block BlockQueue::take()
{
    std::unique_lock lock(mutex_);
    if (taken_ >= 0) {
        free_.push_back(taken_);
        taken_ = -1;
        changed_.notify_all();
    }
    changed_.wait(lock, [this] { return closed_ || finished_ || !full_.empty(); });
    if (closed_ || full_.empty())
        return {};
    const Slot slot = full_.front();
    full_.pop_front();
    taken_ = slot.index;
    return Block{blocks_[std::size_t(slot.index)].get(), slot.size};
}

void BlockQueue::close()
{
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

bool BlockQueue::closed() const
{
    const std::lock_guard lock(mutex_);
    return closed_;
}

}  // namespace quorbin
