#pragma once
// Order alerts on the process's sound channel, and the alert files a fresh installation needs.

#include <QString>

// Loops when repeat is 2, plays once otherwise; an empty path plays nothing.
void PlayAlert(const QString& file, int repeat);
void StopAlert();
// The "once" file of a choice, a single time, whatever the repeat mode; "none" plays nothing.
void PlayPreview(int choice);

// Copies every alert file missing from the data folder out of the program's "sounds" folder.
// Returns how many were copied; failures go to the debug log.
int InstallMissingSounds();
