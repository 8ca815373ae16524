#pragma once
// Process-wide volatile trace. Off until UseDebugWin: Add then costs one test and does nothing.
// Add is safe from any thread; lines keep call order and the text area is only touched on the
// user-interface thread.

#include <QString>

class TDebugWindow {
 public:
  static void UseDebugWin();
  static void UseFileSave();
  static void Add(const QString& text);
};
