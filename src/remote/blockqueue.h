#pragma once
// Bytes handed from the thread that receives them to the one that works on them, in blocks of
// a fixed size from a fixed pool: the receiver waits when every block is full, so memory stays
// at the pool's size however fast the data comes.
#include <QtGlobal>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace quorbin {

class BlockQueue {
public:
    BlockQueue(qsizetype blockSize, int blocks);
    BlockQueue(const BlockQueue&) = delete;
    BlockQueue& operator=(const BlockQueue&) = delete;

    // The receiving side: copies the bytes in, handing each block over when it is full.
    // False once the queue is closed.
    bool put(const char* data, qsizetype size);
    // The receiving side is done: the last, partly filled block goes over too.
    void finish();

    struct Block {
        unsigned char* data = nullptr;  // null: nothing more comes
        qsizetype size = 0;
    };
    // The working side: the next block, waiting for it. Its bytes are the taker's until the
    // next take(). Null at the end, or at once after close().
    Block take();

    // Either side: nothing more goes through; a waiting put() or take() returns.
    void close();
    // Whether close() was called, as opposed to an end by finish().
    bool closed() const;

private:
    struct Slot {
        int index;
        qsizetype size;
    };
    bool handOver();  // the block being filled

    const qsizetype blockSize_;
    std::vector<std::unique_ptr<unsigned char[]>> blocks_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<int> free_;
    std::deque<Slot> full_;
    int taken_ = -1;  // the block the working side holds
    bool finished_ = false;
    bool closed_ = false;
    // The receiving side's own, outside the lock.
    int filling_ = -1;
    qsizetype filled_ = 0;
};

}  // namespace quorbin
