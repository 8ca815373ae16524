#pragma once
#include <QString>

#include <stdexcept>

// A settings file could not be written; what() names the file.
class IniWriteError : public std::runtime_error {
 public:
  IniWriteError(const QString& file, const QString& reason)
      : std::runtime_error(QStringLiteral("Unable to write to %1: %2").arg(file, reason).toStdString()),
        file_(file) {}
  const QString& File() const { return file_; }

 private:
  QString file_;
};
