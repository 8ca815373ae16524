#pragma once
// File failures raised to callers. KindName() is the kind the exception filter compares
// against its list of routine failures, so each class keeps a fixed, distinct name.
// Raise() throws the object as its own class, so a failure met while a lock is held can be
// kept and thrown after the lock is released: a raise-time hook that logs must never find the
// logger's own lock taken.

#include <QString>

#include <memory>
#include <stdexcept>
#include <utility>

class FileError : public std::runtime_error {
 public:
  FileError(const QString& message, QString file)
      : std::runtime_error(message.toStdString()), file_(std::move(file)) {}
  virtual const char* KindName() const = 0;
  [[noreturn]] virtual void Raise() const = 0;
  const QString& File() const { return file_; }

 private:
  QString file_;
};

// A file could not be opened for reading.
class EFOpenError : public FileError {
 public:
  using FileError::FileError;
  const char* KindName() const override { return "EFOpenError"; }
  [[noreturn]] void Raise() const override { throw *this; }
};

// A file could not be created or truncated.
class EFCreateError : public FileError {
 public:
  using FileError::FileError;
  const char* KindName() const override { return "EFCreateError"; }
  [[noreturn]] void Raise() const override { throw *this; }
};

// An open file could not be written or closed.
class EInOutError : public FileError {
 public:
  using FileError::FileError;
  const char* KindName() const override { return "EInOutError"; }
  [[noreturn]] void Raise() const override { throw *this; }
};

using FileFailure = std::unique_ptr<FileError>;  // empty: no failure
