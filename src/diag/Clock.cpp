#include "diag/Clock.h"

#include <mutex>
#include <utility>

namespace diag {
namespace {

std::mutex& clockMutex() {
  static std::mutex m;
  return m;
}

std::function<QDateTime()>& clockSlot() {
  static std::function<QDateTime()> clock;
  return clock;
}

}  // namespace

QDateTime Now() {
  std::function<QDateTime()> clock;
  {
    std::lock_guard lock(clockMutex());
    clock = clockSlot();
  }
  return clock ? clock() : QDateTime::currentDateTime();
}

void SetClockForTests(std::function<QDateTime()> clock) {
  std::lock_guard lock(clockMutex());
  clockSlot() = std::move(clock);
}

}  // namespace diag
