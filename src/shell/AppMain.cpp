#include "shell/AppMain.h"

#include <QApplication>

int RunTalvenOrder(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName("Pilvora");
  return 0;
}
