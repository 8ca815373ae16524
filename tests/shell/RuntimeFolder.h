#pragma once
// A private XDG_RUNTIME_DIR for one test, so its single-instance name meets no other copy.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class RuntimeFolder {
 public:
  RuntimeFolder() : old_(qgetenv("XDG_RUNTIME_DIR")), had_(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR", dir_.path().toUtf8());
  }
  ~RuntimeFolder() {
    if (had_)
      qputenv("XDG_RUNTIME_DIR", old_);
    else
      qunsetenv("XDG_RUNTIME_DIR");
  }
  RuntimeFolder(const RuntimeFolder&) = delete;
  RuntimeFolder& operator=(const RuntimeFolder&) = delete;

  QString path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QByteArray old_;
  bool had_;
};
