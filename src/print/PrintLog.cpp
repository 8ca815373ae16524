#include "print/PrintLog.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <exception>

#include "diag/TDebugWindow.h"
#include "diag/TErrorManager.h"

void PrintDebugLog(const QString& text) {
  try {
    TDebugWindow::Add(text);
  } catch (const std::exception&) {
  }
}

void PrintDebugAndErrorLog(const QString& text) {
  PrintDebugLog(text);
  try {
    TErrorManager::Log(text);
  } catch (const std::exception&) {
  }
}

QString BytesLogText(const std::string& bytes) {
  iconv_t cd = iconv_open("UTF-16LE", "CP949");
  if (cd == iconv_t(-1)) return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
  // Every code page 949 character is one UTF-16 unit made of one or two bytes, and a bad byte
  // becomes one U+FFFD: the text never has more units than the input has bytes.
  QString text(qsizetype(bytes.size()), Qt::Uninitialized);
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* out = reinterpret_cast<char*>(text.data());
  size_t outLeft = bytes.size() * sizeof(char16_t);
  while (inLeft > 0 && iconv(cd, &in, &inLeft, &out, &outLeft) == size_t(-1)) {
    if (errno != EILSEQ && errno != EINVAL) break;
    const char16_t replacement = QChar::ReplacementCharacter;
    std::memcpy(out, &replacement, sizeof replacement);
    out += sizeof replacement;
    outLeft -= sizeof replacement;
    ++in;
    --inLeft;
  }
  iconv_close(cd);
  text.truncate(qsizetype(bytes.size()) - qsizetype(outLeft / sizeof(char16_t)));
  return text;
}
