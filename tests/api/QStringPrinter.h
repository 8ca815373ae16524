#pragma once
// Failure messages show texts, not UTF-16 code units.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
