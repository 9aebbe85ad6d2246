#pragma once
// Failure messages show texts as text, not as UTF-16 code units.
#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
