#include "platform/DebugView.h"

#include <mutex>
#include <utility>

namespace platform {
namespace {

std::mutex& factoryMutex() {
  static std::mutex m;
  return m;
}

DebugViewFactory& factorySlot() {
  static DebugViewFactory factory;
  return factory;
}

}  // namespace

DebugViewFactory SetDebugViewFactory(DebugViewFactory factory) {
  std::lock_guard lock(factoryMutex());
  return std::exchange(factorySlot(), std::move(factory));
}

std::unique_ptr<DebugView> CreateDebugView(std::function<void()> onClearRequested) {
  DebugViewFactory factory;
  {
    std::lock_guard lock(factoryMutex());
    factory = factorySlot();
  }
  return factory ? factory(std::move(onClearRequested)) : nullptr;
}

}  // namespace platform
