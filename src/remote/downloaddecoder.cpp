#include "remote/downloaddecoder.h"

#include "engine/containerdecoder.h"

namespace quorbin {
namespace {

// 4 MiB in flight: enough to ride out the network's bursts, little beside a large inflate.
constexpr qsizetype kBlockSize = qsizetype(512) * 1024;
constexpr int kBlocks = 8;

}  // namespace

DownloadDecoder::DownloadDecoder(const QString& key, platform::ReplacementFile* out, const QString& remotePath,
                                 const QString& target, const JobContext& context)
    : queue_(kBlockSize, kBlocks), forward_(context.stop, ForwardStop{&stop_})
{
    // The decoder works with its thread's inflater: it is made, fed and ended there.
    thread_ = std::thread([this, key, out, remotePath, target, report = context.report] {
        // What escapes a thread ends the process: it becomes this download's failure.
        try {
            decode(key, out, remotePath, target, report);
        } catch (const std::exception& e) {
            result_ = JobResult::failure(ErrorKind::SourceUnreadable, QString::fromLocal8Bit(e.what()), remotePath);
            queue_.close();
        }
    });
}

DownloadDecoder::~DownloadDecoder()
{
    if (thread_.joinable())
        abandon();
}

void DownloadDecoder::decode(const QString& key, platform::ReplacementFile* out, const QString& remotePath,
                             const QString& target, const RestoreReporter& report)
{
    ContainerDecoder decoder(key, out, remotePath, target, true);
    const JobContext context{stop_.get_token(), report};
    JobResult result;
    for (;;) {
        const BlockQueue::Block block = queue_.take();
        if (!block.data) {
            if (!queue_.closed())
                result = decoder.finish();
            break;
        }
        result = decoder.feed(block.data, block.size, context);
        if (!result.ok())
            break;
    }
    result_ = result;
    queue_.close();  // a transfer that still runs ends: nothing wants its bytes
}

JobResult DownloadDecoder::finish()
{
    queue_.finish();
    return join();
}

JobResult DownloadDecoder::abandon()
{
    stop_.request_stop();
    queue_.close();
    return join();
}

JobResult DownloadDecoder::join()
{
    thread_.join();
    return result_;
}

}  // namespace quorbin
