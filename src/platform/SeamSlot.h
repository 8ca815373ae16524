#pragma once
// One replaceable implementation of a seam, swapped and read from any thread.

#include <mutex>
#include <utility>

namespace platform {

template <class Fn>
class SeamSlot {
 public:
  // Installs fn and returns the previous one, so a scope can put it back.
  Fn Exchange(Fn fn) {
    std::lock_guard lock(mutex_);
    return std::exchange(fn_, std::move(fn));
  }

  // A copy, so the caller runs it without holding the lock.
  Fn Get() const {
    std::lock_guard lock(mutex_);
    return fn_;
  }

 private:
  mutable std::mutex mutex_;
  Fn fn_;
};

}  // namespace platform
