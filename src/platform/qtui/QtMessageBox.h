#pragma once

namespace platform {

// Installs the Qt dialog as the message-box handler of this process.
void InstallQtMessageBox();

}  // namespace platform
