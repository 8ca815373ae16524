#pragma once
#include <QString>
#include <QStringList>

// The alert file for a choice (1 to 7) and a repeat mode: mode 0 takes the "once" file, any
// other mode the plain one. Choices outside 1..7 (0 is "none") give an empty path.
QString SoundFilePath(int choice, int repeat);

// The fourteen alert file names, each with a leading "/", as they lie in the data folder.
QStringList SoundFileNames();
