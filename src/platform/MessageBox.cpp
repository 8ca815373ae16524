#include "platform/MessageBox.h"

#include <QDebug>
#include <mutex>
#include <utility>

namespace platform {
namespace {

std::mutex& handlerMutex() {
  static std::mutex m;
  return m;
}

MessageBoxHandler& handlerSlot() {
  static MessageBoxHandler handler;
  return handler;
}

}  // namespace

MsgResult ShowMessage(const QString& text, MsgButtons buttons, MsgIcon icon) {
  MessageBoxHandler handler;
  {
    std::lock_guard lock(handlerMutex());
    handler = handlerSlot();
  }
  if (handler) return handler(text, buttons, icon);
  qWarning().noquote() << "message box without a display:" << text;
  return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard lock(handlerMutex());
  return std::exchange(handlerSlot(), std::move(handler));
}

}  // namespace platform
