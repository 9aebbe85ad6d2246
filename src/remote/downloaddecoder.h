#pragma once
// A stored file deciphered and expanded while it downloads: the transfer's thread hands the
// bytes over as they come, and a second thread decodes them into the target's replacement
// file, so network and processor work side by side. Between the two lie a few MiB at most.
#include "platform/job.h"
#include "platform/replacefile.h"
#include "remote/blockqueue.h"
#include "remote/ftpclient.h"

#include <QString>
#include <stop_token>
#include <thread>

namespace quorbin {

class DownloadDecoder {
public:
    // `remotePath` names the stored file in the decoder's failures; `target` is the file that
    // `out` replaces; a null `out` decodes to nowhere, for a check. A stop of the context's token
    // reaches the decoder too.
    DownloadDecoder(const QString& key, platform::ReplacementFile* out, const QString& remotePath,
                    const QString& target, const JobContext& context);
    ~DownloadDecoder();
    DownloadDecoder(const DownloadDecoder&) = delete;
    DownloadDecoder& operator=(const DownloadDecoder&) = delete;

    // On the transfer's thread: the next bytes. False once the decoder failed or stopped: the
    // transfer is to end then.
    bool receive(const char* data, qint64 size) { return queue_.put(data, size); }
    // After the whole file came: waits for the decoder. Success when the stream and its
    // checksum were read.
    JobResult finish();
    // After a failed transfer: ends the decoder where it is. Its own failure, if it had one
    // (a wrong key, damage, a full disk); a Cancelled result says nothing about the cause.
    JobResult abandon();

private:
    struct ForwardStop {
        std::stop_source* to;
        void operator()() const { to->request_stop(); }
    };
    void decode(const QString& key, platform::ReplacementFile* out, const QString& remotePath, const QString& target,
                const RestoreReporter& report);
    JobResult join();

    BlockQueue queue_;
    std::stop_source stop_;
    std::stop_callback<ForwardStop> forward_;
    JobResult result_;  // the decoder thread's, read after it ended
    std::thread thread_;
};

}  // namespace quorbin
