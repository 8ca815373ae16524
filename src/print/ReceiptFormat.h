#pragma once
// Column formatting used by the receipt layout.

#include <QString>

// "#,0" then right-aligned in 10 characters; longer texts are not cut.
QString FormatAmount(int value);
// Three blanks for 0, otherwise "%3d"; longer texts are not cut.
QString FormatCount(int value);
// The time of a "date time" stamp: the second blank-separated field, or "".
QString VisitTime(const QString& visitAt);
