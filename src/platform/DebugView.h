#pragma once
// The visible side of the debug log. The desktop build installs a window at start; without one
// the log still keeps its lines and its file, so core code never needs a display.

#include <QStringList>

#include <functional>
#include <memory>

namespace platform {

class DebugView {
 public:
  virtual ~DebugView() = default;
  // Called from any thread, in the log's order; an implementation applies them in that order
  // on its own thread.
  virtual void AppendLines(const QStringList& lines) = 0;
  virtual void Clear() = 0;
};

// onClearRequested: what the view calls when the operator asks to empty the log.
using DebugViewFactory = std::function<std::unique_ptr<DebugView>(std::function<void()> onClearRequested)>;

// Replaces the factory; returns the previous one so a scope can put it back.
DebugViewFactory SetDebugViewFactory(DebugViewFactory factory);

// A new view from the installed factory; null when none is installed.
std::unique_ptr<DebugView> CreateDebugView(std::function<void()> onClearRequested);

}  // namespace platform
