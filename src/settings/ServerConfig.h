#pragma once
// Where the ordering service lives: server.ini, section "Server", read from the data folder
// first, then from the program folder; a key missing in both takes the built-in default.

#include <QString>

struct ServerConfig {
  QString WebHost;      // host[:port], https: SMS login and store pages
  QString VersionHost;  // host[:port], plain http version page; default: WebHost's host name
  QString OrderHost;    // host[:port], https GraphQL and wss notifications
  QString ReportHost;   // host[:port], plain http error-report endpoint
  QString CaFile;       // extra PEM certificates to trust besides the system store
  bool VerifyTls = true;
};

// Reads server.ini now (the files are small and rarely read: at start and per request is fine).
ServerConfig LoadServerConfig();
// The same from the two given folders (tests point it at folders of their own).
ServerConfig LoadServerConfig(const QString& dataFolder, const QString& programFolder);
