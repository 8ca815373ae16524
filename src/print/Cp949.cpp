#include "print/Cp949.h"

#include <QList>

#include <cerrno>
#include <stdexcept>

#include <iconv.h>

namespace {

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char* kUcs4 = "UCS-4LE";
#else
constexpr const char* kUcs4 = "UCS-4BE";
#endif

constexpr char kDefaultChar = '?';

bool IsAscii(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() >= 0x80) return false;
  return true;
}

}  // namespace

Cp949Encoder::Cp949Encoder() : cd_(iconv_open("CP949", kUcs4)) {
  if (cd_ == reinterpret_cast<void*>(iconv_t(-1))) {
    throw std::runtime_error("iconv cannot convert to CP949");
  }
}

Cp949Encoder::~Cp949Encoder() { iconv_close(static_cast<iconv_t>(cd_)); }

void Cp949Encoder::Append(const QString& text, std::string& out) {
  if (IsAscii(text)) {
    for (const QChar c : text) out += static_cast<char>(c.unicode());
    return;
  }
  // Whole code points, so a surrogate pair (an emoji, say) is one character and gives one
  // default character; a lone surrogate arrives as U+FFFD and is replaced the same way.
  QList<uint> points = text.toUcs4();
  char* in = reinterpret_cast<char*>(points.data());
  size_t inLeft = static_cast<size_t>(points.size()) * sizeof(uint);
  const size_t start = out.size();
  out.resize(start + static_cast<size_t>(points.size()) * 2);  // at most two bytes each
  char* to = out.data() + start;
  size_t outLeft = out.size() - start;
  while (inLeft > 0) {
    if (iconv(static_cast<iconv_t>(cd_), &in, &inLeft, &to, &outLeft) != size_t(-1)) break;
    if (errno != EILSEQ || outLeft == 0) {
      throw std::runtime_error("CP949 conversion failed");
    }
    *to++ = kDefaultChar;
    --outLeft;
    in += sizeof(uint);
    inLeft -= sizeof(uint);
  }
  out.resize(out.size() - outLeft);
}

std::string ToCp949(const QString& text) {
  std::string out;
  Cp949Encoder().Append(text, out);
  return out;
}
