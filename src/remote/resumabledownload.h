#pragma once
// A download that outlives its connection: what came stays with the receiver, and each new try
// asks only for the rest (REST) where the server can begin at an offset, else takes the file
// again and passes over what came already. The receiver never sees a byte twice.
#include "remote/ftpclient.h"

#include <QByteArray>

namespace quorbin {

class ResumableDownload {
public:
    ResumableDownload(QByteArray remotePath, FtpReceiver receive);

    // One try over the client, from where the last one ended. Throws FtpError as GetAt does.
    void tryOn(FtpClient& client);
    // The bytes handed to the receiver so far.
    qint64 received() const { return received_; }
    // The receiver refused the last bytes: the transfer ended on its word, not the network's.
    bool refused() const { return refused_; }

private:
    QByteArray path_;
    FtpReceiver receive_;
    qint64 received_ = 0;
    bool refused_ = false;
};

}  // namespace quorbin
