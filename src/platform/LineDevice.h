#pragma once
// Output to a line-printer device (or a file standing in for one), the whole job at once.

#include <QString>

#include <string>

namespace platform {

// Opens an existing device or file for writing (a file is truncated), writes every byte, flushes
// and closes. Nothing is created: a missing device must fail, not turn into a new file.
// Empty on success, else why it failed.
QString WriteLineDevice(const QString& path, const std::string& bytes);

}  // namespace platform
