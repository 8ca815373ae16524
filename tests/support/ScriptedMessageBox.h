#pragma once
// Stands in for the operator at the message boxes: answers from a script (Ok when it runs out)
// and records every text shown. Installed for its lifetime.

#include <QString>
#include <QStringList>
#include <deque>

#include "platform/MessageBox.h"

class ScriptedMessageBox {
 public:
  ScriptedMessageBox();
  ~ScriptedMessageBox();
  ScriptedMessageBox(const ScriptedMessageBox&) = delete;
  ScriptedMessageBox& operator=(const ScriptedMessageBox&) = delete;

  void answerNext(platform::MsgResult answer) { answers_.push_back(answer); }
  const QStringList& texts() const { return texts_; }
  int questions() const { return questions_; }

 private:
  std::deque<platform::MsgResult> answers_;
  QStringList texts_;
  int questions_ = 0;
  platform::MessageBoxHandler previous_;
};
