#pragma once
// File failures raised to callers. KindName() is the kind the exception filter compares
// against its list of routine failures, so each class keeps a fixed, distinct name.

#include <QString>

#include <stdexcept>
#include <utility>

class FileError : public std::runtime_error {
 public:
  FileError(const QString& message, QString file)
      : std::runtime_error(message.toStdString()), file_(std::move(file)) {}
  virtual const char* KindName() const = 0;
  const QString& File() const { return file_; }

 private:
  QString file_;
};

// A file could not be opened for reading.
class EFOpenError : public FileError {
 public:
  using FileError::FileError;
  const char* KindName() const override { return "EFOpenError"; }
};

// A file could not be created or truncated.
class EFCreateError : public FileError {
 public:
  using FileError::FileError;
  const char* KindName() const override { return "EFCreateError"; }
};

// An open file could not be written or closed.
class EInOutError : public FileError {
 public:
  using FileError::FileError;
  const char* KindName() const override { return "EInOutError"; }
};
