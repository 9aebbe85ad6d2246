#include "remote/ftpsession.h"

#include "remote/fixedtext.h"

#include <QCoreApplication>

#include <limits>

namespace quorbin {

void FtpSession::WorkBegin(qint64 expected)
{
    if (expected != 0)
        BytesToTransfer = quint32(expected);  // its low 32 bits
}

FtpWorkView FtpSession::Work(qint64 count)
{
    if (BytesToTransfer == 0)
        BytesToTransfer = 1;
    FtpWorkView view;
    // A progress bar counts in int; both ends shrink by the same factor.
    const qint64 scale = BytesToTransfer / std::numeric_limits<int>::max() + 1;
    view.barMaximum = int(BytesToTransfer / scale);
    view.barPosition = int(std::clamp<qint64>(count / scale, 0, std::numeric_limits<int>::max()));
    view.percent = FormatFixed(double(count) / BytesToTransfer * 100, 8, 2) + QStringLiteral(" %");
    view.amount = QCoreApplication::translate("Remote", "%1kB von %2")
                      .arg(FormatFixed(count / 1024.0, 8, 3), FormatFixed(BytesToTransfer / 1024.0, 8, 3));
    return view;
}

void FtpSession::Disconnect(StatusSink& status)
{
    if (client.Connected()) {
        try {
            client.Abort();
            client.Disconnect();
        } catch (const std::exception&) {
            // A failed abort skips the disconnect; either failure is ignored.
        }
    }
    status.setStatus(QCoreApplication::translate("Remote", "Verbindung getrennt"));
}

}  // namespace quorbin
