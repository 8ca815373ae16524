#pragma once
// Start with the desktop session: the per-user XDG autostart entry "TalvenOrder.desktop". It
// starts the installation's updater, which lies in the folder above the program's own.

#include <QString>

QString AutoRunEntryPath();  // roaming folder + "/autostart/TalvenOrder.desktop"

// programFolder without its trailing "/", every "TalvenOrder" taken out whatever its case,
// then "AutoUpdate.exe" glued on.
QString UpdaterPath(const QString& programFolder);
// "\"" + updater path + "\" TalvenOrder TalvenOrder.exe"
QString AutoRunCommandLine(const QString& programFolder);

// On writes the command line of the running program; off keeps the entry with an empty command.
// Failures only reach the debug log.
void SetAutoRun(bool on);
// Whether the entry holds a command; false on any failure.
bool GetAutoRun();
