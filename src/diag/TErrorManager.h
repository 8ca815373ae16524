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
  static QString Path();

  // Appends one line to today's file; nothing before UseErrorManager. Throws on a write failure.
  static void Log(const QString& message);
  // Posts one report (10 s time-out) and logs "[SendError]" on success; never throws.
  static void Send(const QString& report);
};
