#pragma once
// Code page 949 encoding through iconv.

#include <QString>

#include <string>

// Appends text in code page 949. Control characters pass unchanged; every character the code
// page cannot represent becomes one '?', its default character.
class Cp949Encoder {
 public:
  Cp949Encoder();
  ~Cp949Encoder();
  Cp949Encoder(const Cp949Encoder&) = delete;
  Cp949Encoder& operator=(const Cp949Encoder&) = delete;

  void Append(const QString& text, std::string& out);

 private:
  void* cd_;  // iconv_t, kept opaque so <iconv.h> stays out of this header
};

std::string ToCp949(const QString& text);
