#include "platform/DebugView.h"

#include <utility>

#include "platform/SeamSlot.h"

namespace platform {
namespace {

SeamSlot<DebugViewFactory>& factorySlot() {
  static SeamSlot<DebugViewFactory> slot;
  return slot;
}

}  // namespace

DebugViewFactory SetDebugViewFactory(DebugViewFactory factory) {
  return factorySlot().Exchange(std::move(factory));
}

std::unique_ptr<DebugView> CreateDebugView(std::function<void()> onClearRequested) {
  const DebugViewFactory factory = factorySlot().Get();
  return factory ? factory(std::move(onClearRequested)) : nullptr;
}

}  // namespace platform
