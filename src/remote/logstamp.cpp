#include "remote/logstamp.h"

#include "platform/datetime.h"

namespace quorbin {

QString TimeStampedLine(const QString& text, const QDateTime& now)
{
    const QTime time = now.time();
    const bool midnight = time.hour() == 0 && time.minute() == 0 && time.second() == 0;
    return (midnight ? platform::germanDateText(now.date()) : platform::germanDateTimeText(now)) + text;
}

}  // namespace quorbin
