#pragma once
// Process-wide volatile trace. Off until UseDebugWin: Add then costs one test and does nothing.
// Add is safe from any thread; lines keep call order and the text area is only touched on the
// user-interface thread.

#include <QString>
#include <QStringList>

class TDebugWindow {
 public:
  static void UseDebugWin();
  static void UseFileSave();
  // Appends "HH:MM:SS text" (a text with line breaks gives several lines). With saving on, the
  // whole log is then written to debug.txt; a failure throws EFCreateError or EInOutError
  // (diag/FileErrors.h) after the line has been added.
  static void Add(const QString& text);

  // The "Clear" command: empties the log; the file is rewritten by the next Add.
  static void Clear();

  // TALVENORDER_DEBUG: "1" switches the window on, "file" the window and then the file.
  static void ApplyDiagnosticSwitch();

  static bool IsOn();
  static bool IsSavingToFile();
  static QStringList Lines();
  static QString FilePath();  // program folder + "debug.txt"

  // Back to the state at process start, and where the file goes. Meant for tests only.
  static void ResetForTests();
  static void SetFilePathForTests(const QString& path);  // empty: program folder
};
