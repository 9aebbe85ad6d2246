#include "remote/timecheck.h"

#include "platform/datetime.h"
#include "remote/ftperror.h"

#include <QTime>
#include <cmath>
#include <exception>
#include <optional>

namespace quorbin {
namespace {

const QString kProbe = QStringLiteral("Timecheck");

// A LIST line gives the probe's time to the minute, cut off, not rounded. Measured from the
// moment the probe was made, the difference cut off to whole minutes is then exact for a
// clock that is whole minutes off. A time of the day only tells nothing.
std::optional<double> differenceTo(const FtpListEntry& probe, const QDateTime& made)
{
    const double minutesPerDay = 1440;
    switch (probe.resolution) {
    case FtpTimeResolution::Second:
        return platform::toDayCount(QDateTime::currentDateTime()) - platform::toDayCount(probe.modified);
    case FtpTimeResolution::Minute:
        return std::floor((platform::toDayCount(made) - platform::toDayCount(probe.modified)) * minutesPerDay) /
               minutesPerDay;
    case FtpTimeResolution::Day:
        break;
    }
    return std::nullopt;
}

void measure(FtpSession& session)
{
    FtpClient& client = session.client;
    client.MakeDir(kProbe);
    const QDateTime made = QDateTime::currentDateTime();
    client.setTransferType(FtpTransferType::Ascii);
    // After a failure the entries of the last listing are looked at all the same.
    PassOverFailure([&] { client.List(); });
    client.setTransferType(FtpTransferType::Image);
    for (const FtpListEntry& entry : client.DirectoryListing()) {
        if (entry.name != kProbe || !entry.modified.isValid())
            continue;
        if (const auto difference = differenceTo(entry, made))
            session.TimeDifference = *difference;
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

qint64 ClockOffsetSeconds(double timeDifferenceDays)
{
    return std::llround(timeDifferenceDays * 86400.0 / 60.0) * 60;
}

QString TimeDifferenceText(double days)
{
    const qint64 msPerDay = 86400000;
    const qint64 ms = std::llround(std::abs(days) * msPerDay) % msPerDay;
    return QTime::fromMSecsSinceStartOfDay(int(ms)).toString(QStringLiteral("hh:mm:ss"));
}

}  // namespace quorbin
