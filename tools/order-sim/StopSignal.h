#pragma once
// Lets waits inside request handling (slow replies) end at once when the service stops.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace ordersim {

class StopSignal {
 public:
  void raise() {
    {
      std::lock_guard lock(mutex_);
      raised_ = true;
    }
    cv_.notify_all();
  }
  // Sleeps for `duration`; false when the service stopped meanwhile.
  bool sleepFor(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    return !cv_.wait_for(lock, duration, [this] { return raised_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool raised_ = false;
};

}  // namespace ordersim
