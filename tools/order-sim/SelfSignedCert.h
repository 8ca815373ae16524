#pragma once
// A fresh self-signed server certificate for loopback: an EC P-256 key and an X.509 certificate
// for CN 127.0.0.1 with the names 127.0.0.1 and localhost, valid from an hour ago for 30 days.
// It is its own trust anchor, so a client trusts it by naming its PEM file as CA file.

#include <string>

namespace ordersim {

struct PemPair {
  std::string certificate;
  std::string privateKey;
};

// Throws std::runtime_error with OpenSSL's reason when a step fails.
PemPair MakeSelfSignedCertificate();

}  // namespace ordersim
