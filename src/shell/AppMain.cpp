#include "shell/AppMain.h"

#include <cstdio>
#include <exception>

#include "diag/TDebugWindow.h"
#include "platform/qtui/QtDebugWindow.h"
#include "platform/qtui/QtMessageBox.h"
#include "shell/SingleInstance.h"
#include "shell/TalvenApplication.h"
#include "shell/TerminationSignals.h"
#include "shell/UFake.h"
#include "shell/Udm.h"

int RunTalvenOrder(int argc, char** argv) {
  const QString name = SingleInstance::DefaultServerPath();
  // A second copy hands over before any window exists or any file is touched.
  if (SingleInstance::NotifyRunningCopy(name, Tfm_orderFake::WM_SHOW_INSTANCE)) return 0;

  TalvenApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Pilvora"));
  // The hidden controller decides when the program ends, not the last visible window.
  app.setQuitOnLastWindowClosed(false);

  // Declared first so it is given up last, after the controller and the data module.
  SingleInstance instance(name);
  switch (instance.Acquire(Tfm_orderFake::WM_SHOW_INSTANCE)) {
    case SingleInstance::Outcome::OtherCopyRuns: return 0;
    case SingleInstance::Outcome::Unguarded:
      std::fprintf(stderr, "TalvenOrder: cannot hold %s; running without the single-instance guard\n",
                   qPrintable(name));
      break;
    case SingleInstance::Outcome::Owner: break;
  }

  platform::InstallQtMessageBox();
  platform::InstallQtDebugWindow();
  TDebugWindow::ApplyDiagnosticSwitch();

  Tdm dm;
  Tfm_orderFake controller(dm, instance);
  TerminationSignals termination([&controller] { controller.SendForm_Close(nullptr); });
  try {
    controller.FormCreate();
  } catch (const std::exception& e) {
    // Swallowed as the event loop would; the operator still gets the login window.
    std::fprintf(stderr, "TalvenOrder: Tfm_orderFake.FormCreate err : %s\n", e.what());
    controller.ShowLoginForm();
  }
  return app.exec();
}
