#pragma once
#include <QString>

namespace quorbin {

// A number in fixed-point notation: first rounded to `precision` significant digits, then
// written with `decimals` decimals and the user's decimal separator, without grouping. A value
// with more integer digits than the precision is written in scientific notation instead
// (mantissa of `precision` digits, "E", sign, exponent of at least `decimals` digits).
QString FormatFixed(double value, int precision, int decimals);

}  // namespace quorbin
