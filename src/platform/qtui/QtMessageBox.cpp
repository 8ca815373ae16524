#include "platform/qtui/QtMessageBox.h"

#include <QMessageBox>

#include "platform/MessageBox.h"

namespace platform {
namespace {

QMessageBox::Icon toQtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Error: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

MsgResult showQtMessage(const QString& text, MsgButtons buttons, MsgIcon icon) {
  QMessageBox box(toQtIcon(icon), "Pilvora", text,
                  buttons == MsgButtons::Ok ? QMessageBox::Ok : QMessageBox::Ok | QMessageBox::Cancel);
  box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  return box.exec() == QMessageBox::Ok ? MsgResult::Ok : MsgResult::Cancel;
}

}  // namespace

void InstallQtMessageBox() { SetMessageBoxHandler(showQtMessage); }

}  // namespace platform
