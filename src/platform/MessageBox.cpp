#include "platform/MessageBox.h"

#include <QDebug>
#include <utility>

#include "platform/SeamSlot.h"

namespace platform {
namespace {

SeamSlot<MessageBoxHandler>& handlerSlot() {
  static SeamSlot<MessageBoxHandler> slot;
  return slot;
}

}  // namespace

MsgResult ShowMessage(const QString& text, MsgButtons buttons, MsgIcon icon) {
  const MessageBoxHandler handler = handlerSlot().Get();
  if (handler) return handler(text, buttons, icon);
  qWarning().noquote() << "message box without a display:" << text;
  return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  return handlerSlot().Exchange(std::move(handler));
}

}  // namespace platform
