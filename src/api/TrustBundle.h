#pragma once
// The certificates a request trusts: the system bundle followed by the extra PEM file of
// server.ini (CaFile), as one blob for the TLS library.

#include <QString>
#include <string>

struct TrustBundle {
  std::string pem;
  QString problem;  // non-empty when the extra file could not be read (the system store still holds)
};

TrustBundle MakeTrustBundle(const QString& systemBundlePath, const QString& caFile);
