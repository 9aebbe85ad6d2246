#pragma once
// How far the server's clock is from the local one, measured by the modification time of a
// probe directory made for the purpose.
#include "remote/ftpsession.h"

namespace quorbin {

// Enters the base path, makes "Timecheck", lists, removes it again; sets and returns
// session.TimeDifference (days, local minus the server's time). Throws FtpError when the
// probe cannot be made or removed, when the listing's entries cannot be read, and when the
// client's stop token ends a step.
double FtpTimeCheck(FtpSession& session, const QString& basePath);

// The difference as the seconds to add to a listed time, rounded to whole minutes: the check's
// own latency and the listing's whole seconds make the rest noise. It also makes up for a
// server that lists in its local time where UTC is expected.
qint64 ClockOffsetSeconds(double timeDifferenceDays);

// "hh:mm:ss" of the absolute difference, rounded to milliseconds, modulo one day.
QString TimeDifferenceText(double days);

}  // namespace quorbin
