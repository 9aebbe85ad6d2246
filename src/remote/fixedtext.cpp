#include "remote/fixedtext.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace quorbin {
namespace {

QString withUserSeparator(QString text)
{
    return text.replace(u'.', QLocale::system().decimalPoint());
}

QString scientific(double rounded, int precision, int decimals)
{
    // "1.2345679e+11" from Qt; the exponent is rewritten to the wanted width.
    const QString text = QString::number(rounded, 'e', precision - 1);
    const qsizetype e = text.indexOf(u'e');
    const int exponent = text.mid(e + 1).toInt();
    const QString digits = QString::number(std::abs(exponent)).rightJustified(std::max(decimals, 1), u'0');
    return withUserSeparator(text.left(e)) + u'E' + (exponent < 0 ? u'-' : u'+') + digits;
}

}  // namespace

QString FormatFixed(double value, int precision, int decimals)
{
    if (!std::isfinite(value))
        return QString::number(value);
    precision = std::max(precision, 1);
    // Rounding through the decimal text rounds as the digits are written.
    double rounded = QString::number(value, 'e', precision - 1).toDouble();
    if (!std::isfinite(rounded))
        return QString::number(value, 'e', precision - 1);  // rounded up past the largest double
    const int integerDigits = rounded == 0 ? 1 : int(std::floor(std::log10(std::abs(rounded)))) + 1;
    if (integerDigits > precision)
        return scientific(rounded, precision, decimals);
    QString text = QString::number(rounded, 'f', std::max(decimals, 0));
    if (text.startsWith(u'-') && !text.contains(QRegularExpression(QStringLiteral("[1-9]"))))
        text.remove(0, 1);  // no "-0,00"
    return withUserSeparator(text);
}

}  // namespace quorbin
