#pragma once
#include <QString>

namespace platform {

// The user's roaming settings folder: $XDG_CONFIG_HOME, else $HOME/.config (no trailing "/").
QString RoamingAppDataFolder();

// Where the client keeps its settings, sounds and logs: roaming folder + "/Korvane/TalvenOrder".
QString DataFolder();

}  // namespace platform
