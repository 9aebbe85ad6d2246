#include "remote/resumabledownload.h"

#include <utility>

namespace quorbin {

ResumableDownload::ResumableDownload(QByteArray remotePath, FtpReceiver receive)
    : path_(std::move(remotePath)), receive_(std::move(receive))
{
}

void ResumableDownload::tryOn(FtpClient& client)
{
    const qint64 from = client.announcesRest() ? received_ : 0;
    qint64 skip = received_ - from;
    client.GetAt(
        path_,
        [this, &skip](const char* data, qint64 size) {
            const qint64 passed = std::min(skip, size);
            skip -= passed;
            if (passed == size)
                return true;
            if (!receive_(data + passed, size - passed)) {
                refused_ = true;
                return false;
            }
            received_ += size - passed;
            return true;
        },
        from);
}

}  // namespace quorbin
