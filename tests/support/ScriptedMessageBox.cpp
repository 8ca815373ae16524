#include "ScriptedMessageBox.h"

ScriptedMessageBox::ScriptedMessageBox() {
  previous_ = platform::SetMessageBoxHandler(
      [this](const QString& text, platform::MsgButtons buttons, platform::MsgIcon) {
        texts_.append(text);
        if (buttons == platform::MsgButtons::OkCancel) ++questions_;
        if (answers_.empty()) return platform::MsgResult::Ok;
        const platform::MsgResult answer = answers_.front();
        answers_.pop_front();
        return answer;
      });
}

ScriptedMessageBox::~ScriptedMessageBox() { platform::SetMessageBoxHandler(previous_); }
