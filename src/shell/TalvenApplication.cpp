#include "shell/TalvenApplication.h"

#include <exception>

TalvenApplication::TalvenApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TalvenApplication::notify(QObject* receiver, QEvent* event) {
  if (!escape_) return QApplication::notify(receiver, event);
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    escape_(receiver, QString::fromLocal8Bit(e.what()));
  } catch (...) {
    escape_(receiver, QStringLiteral("unknown exception"));
  }
  return false;
}
