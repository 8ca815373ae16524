#pragma once
// A private world for one test: HOME and XDG_CONFIG_HOME point into a fresh temporary folder,
// restored when the object goes away.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TempDataFolder {
 public:
  explicit TempDataFolder(bool createDataFolder = true);
  ~TempDataFolder();
  TempDataFolder(const TempDataFolder&) = delete;
  TempDataFolder& operator=(const TempDataFolder&) = delete;

  QString root() const { return dir_.path(); }
  QString dataFolder() const;                    // the client's data folder inside root()
  QString file(const QString& name) const;       // dataFolder() + "/" + name
  void writeFile(const QString& name, const QByteArray& content) const;
  QByteArray readFile(const QString& name) const;

 private:
  QTemporaryDir dir_;
  QByteArray oldHome_;
  QByteArray oldXdg_;
  bool hadXdg_;
};
