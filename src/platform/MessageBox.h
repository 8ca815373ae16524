#pragma once
// The operator's modal message boxes (caption "Pilvora", always on top) pass through this one
// seam: the desktop build installs the Qt dialog at start, tests install a scripted answerer.

#include <QString>
#include <functional>

namespace platform {

enum class MsgButtons { Ok, OkCancel };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgResult { Ok, Cancel };

using MessageBoxHandler = std::function<MsgResult(const QString& text, MsgButtons, MsgIcon)>;

// Shows a message and returns the operator's answer. Without an installed handler nobody can
// answer: "Ok" boxes return Ok and questions return Cancel, so no retry loop can spin unattended.
MsgResult ShowMessage(const QString& text, MsgButtons buttons = MsgButtons::Ok,
                      MsgIcon icon = MsgIcon::None);

// Replaces the handler; returns the previous one so a scope can put it back.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace platform
