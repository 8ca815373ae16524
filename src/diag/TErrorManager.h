#pragma once
// Daily error log (log folder + "YYYYMMDD.log", lines "hh:mm:ss >> message" CR LF) and the
// error report sent to the report endpoint. Used through class operations; one instance.

#include <QString>

class TErrorManager {
 public:
  static void UseErrorManager();
  static void SetAppName(const QString& name);  // FAppName
  static void SetURL(const QString& url);       // FURL
  static void SetPath(const QString& path);     // FPath, with a trailing "/"
  static QString AppName();
  static QString URL();
  static QString Path();

  // Appends one line to today's file; nothing before UseErrorManager. Throws EInOutError
  // (diag/FileErrors.h) when the file cannot be opened or written.
  static void Log(const QString& message);
  // Posts one report (10 s time-out) and logs "[SendError]" on success; never throws.
  static void Send(const QString& report);

  // Back to the state at process start (no instance). Meant for tests only.
  static void ResetForTests();
};
