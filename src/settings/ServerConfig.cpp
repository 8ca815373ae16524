#include "settings/ServerConfig.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <exception>

#include "diag/SupportRoutines.h"
#include "diag/TDebugWindow.h"
#include "platform/AppPaths.h"
#include "settings/IniFile.h"

namespace {

const QString kSection = QStringLiteral("Server");

// Every request reads the hosts: an unwritable debug file must not fail them.
void Trace(const QString& text) {
  try {
    TDebugWindow::Add(text);
  } catch (const std::exception&) {
  }
}

// The files in the order they are asked; the first one that holds a usable value wins.
class ServerIni {
 public:
  ServerIni(const QString& dataFolder, const QString& programFolder)
      : files_{IniFile(QDir(dataFolder).filePath("server.ini")),
               IniFile(QDir(programFolder).filePath("server.ini"))} {}

  // The value and the folder of the file it came from; empty when no file holds one.
  std::pair<QString, QString> Find(const QString& key, bool (*usable)(const QString&)) const {
    for (const IniFile& file : files_) {
      const QString value = file.ReadString(kSection, key, QString()).trimmed();
      if (value.isEmpty()) continue;
      if (usable(value)) return {value, QFileInfo(file.FileName()).absolutePath()};
      Trace("server.ini: ignoring " + key + "=" + value + " in " + file.FileName());
    }
    return {};
  }

  QString Host(const QString& key, const QString& def) const {
    const QString value = Find(key, IsHost).first;
    return value.isEmpty() ? def : value;
  }

 private:
  // host[:port]: a value with a scheme, a path or blanks would bend every address built on it.
  static bool IsHost(const QString& value) {
    static const QRegularExpression host(QStringLiteral(R"(^(\[[0-9A-Fa-f:.]+\]|[A-Za-z0-9._-]+)(:[0-9]{1,5})?$)"));
    return host.match(value).hasMatch();
  }

  IniFile files_[2];
};

bool IsFlag(const QString& value) { return value == "0" || value == "1"; }
bool AnyText(const QString&) { return true; }

// "host:port" -> "host"; a bracketed IPv6 address keeps its brackets.
QString HostName(const QString& host) {
  if (host.startsWith('[')) return host.left(host.indexOf(']') + 1);
  const qsizetype colon = host.indexOf(':');
  return colon < 0 ? host : host.left(colon);
}

}  // namespace

// The folders are parameters so that tests never write into the shared program folder.
ServerConfig LoadServerConfig(const QString& dataFolder, const QString& programFolder) {
  const ServerIni ini(dataFolder, programFolder);
  ServerConfig config;
  config.WebHost = ini.Host("WebHost", QStringLiteral("shop.pilvora.example"));
  config.VersionHost = ini.Host("VersionHost", HostName(config.WebHost));
  config.OrderHost = ini.Host("OrderHost", QStringLiteral("order.pilvora.example"));
  config.ReportHost = ini.Host("ReportHost", QStringLiteral("report.pilvora.example"));
  // A relative certificate file lies beside the server.ini that names it.
  const auto [caFile, caFolder] = ini.Find("CaFile", AnyText);
  if (!caFile.isEmpty()) config.CaFile = QDir(caFolder).absoluteFilePath(caFile);
  config.VerifyTls = ini.Find("VerifyTls", IsFlag).first != "0";
  return config;
}

ServerConfig LoadServerConfig() { return LoadServerConfig(platform::DataFolder(), ProgramFolder()); }
