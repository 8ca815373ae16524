#include "Expect.h"

#include <QFile>

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>

namespace expect {

std::string Cp949(const std::string& utf8) {
  iconv_t cd = iconv_open("CP949", "UTF-8");
  if (cd == iconv_t(-1)) {
    ADD_FAILURE() << "no CP949 converter";
    return {};
  }
  std::string out(utf8.size() * 2, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* to = out.data();
  size_t outLeft = out.size();
  if (iconv(cd, &in, &inLeft, &to, &outLeft) == size_t(-1)) {
    ADD_FAILURE() << "expectation not representable in CP949: " << utf8;
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char cell[4];
  for (const unsigned char b : bytes) {
    std::snprintf(cell, sizeof cell, "%02X ", b);
    out += cell;
  }
  return out;
}

std::string Between(const std::string& bytes, const std::string& start, const std::string& end) {
  const size_t from = bytes.find(start);
  if (from == std::string::npos) return "<start not found>";
  const size_t to = bytes.find(end, from + start.size());
  if (to == std::string::npos) return "<end not found>";
  return bytes.substr(from, to - from);
}

std::string ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "cannot read " << path.toStdString();
    return {};
  }
  return file.readAll().toStdString();
}

}  // namespace expect
