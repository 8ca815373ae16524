#pragma once
// Log lines of the print routes. A log that cannot be written must never stop a receipt, so
// these swallow the loggers' own failures.

#include <QString>

#include <string>

void PrintDebugLog(const QString& text);          // the debug log only
void PrintDebugAndErrorLog(const QString& text);  // the debug log and the day's error log

// Receipt bytes as code page 949 text, control bytes kept, for the log lines that show them.
// A byte that does not decode shows as U+FFFD.
QString BytesLogText(const std::string& bytes);
