// The hand-over of received bytes from one thread to another.
#include "remote/blockqueue.h"

#include "fixtures/storewriter.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <algorithm>
#include <thread>

namespace quorbin::test {
namespace {

TEST(BlockQueue, HandsOverEveryByteInOrderWhateverThePieces)
{
    const QByteArray content = mixedContent((3 << 20) + 7, 2);
    BlockQueue queue(64 * 1024, 3);
    QByteArray taken;
    std::thread worker([&] {
        for (BlockQueue::Block block = queue.take(); block.data; block = queue.take())
            taken.append(reinterpret_cast<const char*>(block.data), block.size);
    });
    // Pieces smaller than a block, across blocks and larger than the whole pool.
    const qsizetype pieces[] = {1, 4095, 65536, 200000, 17};
    qsizetype at = 0;
    for (int i = 0; at < content.size(); ++i) {
        const qsizetype size = std::min(pieces[i % 5], content.size() - at);
        ASSERT_TRUE(queue.put(content.constData() + at, size));
        at += size;
    }
    queue.finish();
    worker.join();
    EXPECT_EQ(taken, content);
    EXPECT_FALSE(queue.closed());
}

TEST(BlockQueue, ClosingReleasesTheOtherSideWhereverItWaits)
{
    // The working side gives up after one block; the receiving side waits for a free one.
    BlockQueue full(1024, 2);
    std::thread worker([&] {
        full.take();
        full.close();
    });
    const QByteArray data(10 * 1024, 'x');
    EXPECT_FALSE(full.put(data.constData(), data.size()));
    worker.join();
    EXPECT_TRUE(full.closed());

    // The receiving side gives up while the working side waits for data.
    BlockQueue empty(1024, 2);
    std::thread receiver([&] { empty.close(); });
    EXPECT_EQ(empty.take().data, nullptr);
    receiver.join();
}

}  // namespace
}  // namespace quorbin::test
