#pragma once
// The wall clock both loggers stamp their lines with; tests may pin it.

#include <QDateTime>

#include <functional>

namespace diag {

QDateTime Now();

// Empty restores the system clock. Meant for tests only.
void SetClockForTests(std::function<QDateTime()> clock);

}  // namespace diag
