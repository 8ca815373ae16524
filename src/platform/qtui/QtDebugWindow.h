#pragma once

namespace platform {

// Installs the Qt window as the debug log's view. Call once on the user-interface thread after
// the QApplication exists; the window itself appears only when the log is switched on.
void InstallQtDebugWindow();

}  // namespace platform
