#pragma once
// The one FTP session of the main window, with what its progress display shows.
#include "remote/ftpclient.h"
#include "platform/reporter.h"

#include <QString>
#include <QStringList>

namespace quorbin {

// What one progress report puts on the window: progress bar, "pro" and "total".
struct FtpWorkView {
    int barMaximum = 0;  // the byte counts, scaled down together when they exceed an int
    int barPosition = 0;
    QString percent;     // "51200,00 %"
    QString amount;      // "0,500kB von 0,001"
};

class FtpSession {
public:
    FtpClient client;  // IdFTP1
    QString FtpBasePath;
    double TimeDifference = 0;  // days, local minus the server's clock
    bool DirectoryServiceUsed = false;
    quint32 BytesToTransfer = 0;
    QStringList mv;  // the lines of the listing file

    // IdFTP1WorkBegin: a count of 0 keeps what the download command set from SIZE.
    void WorkBegin(qint64 expected);
    // IdFTP1Work: the texts to show. A cancel reaches the transfer through the job's stop
    // token, not through here.
    FtpWorkView Work(qint64 count);
    // The session part of FtpDisconnect: abort and disconnect when connected, failures
    // ignored, then status "Verbindung getrennt".
    void Disconnect(StatusSink& status);
};

}  // namespace quorbin
