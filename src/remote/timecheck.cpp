#include "remote/timecheck.h"

#include "platform/datetime.h"
#include "remote/ftperror.h"

#include <QTime>
#include <cmath>
#include <exception>

namespace quorbin {
namespace {

const QString kProbe = QStringLiteral("Timecheck");

void measure(FtpSession& session)
{
    FtpClient& client = session.client;
    client.MakeDir(kProbe);
    client.setTransferType(FtpTransferType::Ascii);
    // After a failure the entries of the last listing are looked at all the same.
    PassOverFailure([&] { client.List(); });
    client.setTransferType(FtpTransferType::Image);
    for (const FtpListEntry& entry : client.DirectoryListing()) {
        if (entry.name == kProbe && entry.modified.isValid())
            session.TimeDifference = platform::toDayCount(QDateTime::currentDateTime()) -
                                     platform::toDayCount(entry.modified);
    }
}

}  // namespace

double FtpTimeCheck(FtpSession& session, const QString& basePath)
{
    FtpClient& client = session.client;
    PassOverFailure([&] { client.ChangeDir(basePath); });
    PassOverFailure([&] { client.RemoveDir(kProbe); });  // left over from an earlier run
    std::exception_ptr failure;
    try {
        measure(session);
    } catch (const std::exception&) {
        failure = std::current_exception();
    }
    // Also after a cancel: the probe must not stay on the user's server.
    const FtpClient::StopScope unstoppable(client, std::stop_token());
    client.RemoveDir(kProbe);
    if (failure)
        std::rethrow_exception(failure);
    return session.TimeDifference;
}

QString TimeDifferenceText(double days)
{
    const qint64 msPerDay = 86400000;
    const qint64 ms = std::llround(std::abs(days) * msPerDay) % msPerDay;
    return QTime::fromMSecsSinceStartOfDay(int(ms)).toString(QStringLiteral("hh:mm:ss"));
}

}  // namespace quorbin
