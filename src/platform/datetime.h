#pragma once
// Date and time values and texts as the store's platform writes them.
#include <QDateTime>
#include <QString>
#include <optional>

namespace quorbin::platform {

// Names the local zone for the C library once, when TZ does not: without it glibc looks at
// /etc/localtime again for every local time it converts, several times for each restored
// file. Call before any thread starts.
void settleLocalTimeZone();

// Local times as a day count since 1899-12-30, the time of day as the fraction.
double toDayCount(const QDateTime& local);

// The user's short date (four-digit year), a blank and long time (no time zone); the date
// alone at exactly midnight.
QString userDateTimeText(const QDateTime& local);
// Reads such a text (the time may be missing); nothing when it is no valid date and time.
std::optional<QDateTime> parseUserDateTimeText(const QString& text);

// The user's formats themselves, for fields that hold a date or a time alone.
QString userShortDateFormat();
QString userLongTimeFormat();

// The fixed German forms (dd.MM.yyyy and HH:mm:ss).
QString germanDateText(const QDate& date);
QString germanDateTimeText(const QDateTime& local);

// "noch 1:05" (minutes and seconds; hours too from one hour on) for work of which the
// fraction done took the seconds so far, at the same pace; empty while too little is done to
// tell (under a second, or no fraction).
QString timeLeftText(double fractionDone, double secondsSoFar);

}  // namespace quorbin::platform
