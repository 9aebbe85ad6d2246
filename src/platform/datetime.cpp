#include "platform/datetime.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace quorbin::platform {

void settleLocalTimeZone()
{
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
}

namespace {

const QDate kDayZero(1899, 12, 30);

}  // namespace

double toDayCount(const QDateTime& local)
{
    const qint64 days = kDayZero.daysTo(local.date());
    return double(days) + local.time().msecsSinceStartOfDay() / 86400000.0;
}

// The system locale's formats, worked out once: the walk shows a date for every file.
QString userShortDateFormat()
{
    static const QString format = [] {
        QString text = QLocale::system().dateFormat(QLocale::ShortFormat);
        // The store's platform writes four-digit years.
        if (!text.contains(QStringLiteral("yyyy")))
            text.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
        return text;
    }();
    return format;
}

QString userLongTimeFormat()
{
    static const QString format = [] {
        QString text = QLocale::system().timeFormat(QLocale::LongFormat);
        // The zone goes with the brackets some locales put around it ("H:mm:ss (t)").
        text.remove(QRegularExpression(QStringLiteral("\\s*[(\\[]?\\s*t+\\s*[)\\]]?\\s*")));
        return text.trimmed();
    }();
    return format;
}

QString userDateTimeText(const QDateTime& local)
{
    const QLocale locale = QLocale::system();
    QString date = locale.toString(local.date(), userShortDateFormat());
    if (local.time() == QTime(0, 0))
        return date;
    return date + u' ' + locale.toString(local.time(), userLongTimeFormat());
}

std::optional<QDateTime> parseUserDateTimeText(const QString& text)
{
    // The date format itself may hold blanks ("d MMM yyyy"), so try the whole forms.
    const QLocale locale = QLocale::system();
    const QString trimmed = text.trimmed();
    const QDateTime both = locale.toDateTime(trimmed, userShortDateFormat() + u' ' + userLongTimeFormat());
    if (both.isValid())
        return both;
    const QDate date = locale.toDate(trimmed, userShortDateFormat());
    if (date.isValid())
        return QDateTime(date, QTime(0, 0));
    return {};
}

QString germanDateText(const QDate& date) { return date.toString(QStringLiteral("dd.MM.yyyy")); }

QString germanDateTimeText(const QDateTime& local)
{
    return local.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QString timeLeftText(double fractionDone, double secondsSoFar)
{
    if (fractionDone <= 0 || fractionDone > 1 || secondsSoFar < 1)
        return {};
    const qint64 left = qint64(std::llround(secondsSoFar * (1 - fractionDone) / fractionDone));
    const QString seconds = QStringLiteral("%1").arg(left % 60, 2, 10, QChar(u'0'));
    if (left >= 3600)
        return QCoreApplication::translate("Platform", "noch %1:%2:%3")
            .arg(QString::number(left / 3600), QStringLiteral("%1").arg((left / 60) % 60, 2, 10, QChar(u'0')), seconds);
    return QCoreApplication::translate("Platform", "noch %1:%2").arg(QString::number(left / 60), seconds);
}

}  // namespace quorbin::platform
