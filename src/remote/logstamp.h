#pragma once
#include <QDateTime>
#include <QString>

namespace quorbin {

// A log line behind the German date and time ("19.04.2018 14:03:12" directly followed by the
// text); at exactly midnight the date alone.
QString TimeStampedLine(const QString& text, const QDateTime& now = QDateTime::currentDateTime());

}  // namespace quorbin
