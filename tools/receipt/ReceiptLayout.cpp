#include "ReceiptLayout.h"

#include <QByteArray>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include <iconv.h>

namespace receipt_view {

namespace {

QString Hex(unsigned char b) { return QStringLiteral("%1").arg(b, 2, 16, QChar('0')).toUpper(); }

// Decodes one two-byte code page 949 character; an empty result means it has none.
class Cp949Decoder {
 public:
  Cp949Decoder() : cd_(iconv_open("UTF-8", "CP949")) {
    if (cd_ == iconv_t(-1)) throw std::runtime_error("iconv cannot read CP949");
  }
  ~Cp949Decoder() { iconv_close(cd_); }
  Cp949Decoder(const Cp949Decoder&) = delete;
  Cp949Decoder& operator=(const Cp949Decoder&) = delete;

  QString Decode(unsigned char lead, unsigned char trail) {
    char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    char out[8];
    char* from = in;
    char* to = out;
    size_t inLeft = 2, outLeft = sizeof out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd_, &from, &inLeft, &to, &outLeft) == size_t(-1) || inLeft != 0) return {};
    return QString::fromUtf8(out, to - out);
  }

 private:
  iconv_t cd_;
};

class Printer {
 public:
  explicit Printer(const std::string& bytes) : bytes_(bytes) { Reset(); }

  QList<Row> Run() {
    while (at_ < bytes_.size()) Step();
    if (!row_.glyphs.isEmpty()) FinishRow();
    return rows_;
  }

 private:
  unsigned char Next() { return static_cast<unsigned char>(bytes_[at_++]); }
  bool HasMore() const { return at_ < bytes_.size(); }

  void Reset() {
    bold_ = false;
    widthMul_ = heightMul_ = 1;
    align_ = Row::AlignLeft;
    tabs_.clear();
    for (int c = 8; c < kColumns; c += 8) tabs_.push_back(c);
  }

  void Step() {
    const unsigned char b = Next();
    if (b == 0x0A) return FinishRow();
    if (b == 0x09) return Tab();
    if (b == 0x1B) return Escape();
    if (b == 0x1D) return GroupSeparator();
    if (b >= 0x20 && b < 0x7F) return Put(QString(QChar(b)), 1, false);
    if (b >= 0x81 && b <= 0xFE && HasMore()) {
      const unsigned char trail = static_cast<unsigned char>(bytes_[at_]);
      const QString text = decoder_.Decode(b, trail);
      if (!text.isEmpty()) {
        ++at_;
        return Put(text, 2, false);
      }
    }
    Marker(Hex(b));
  }

  void Escape() {
    if (!HasMore()) return Marker("ESC");
    const unsigned char c = Next();
    switch (c) {
      case 0x40:
        return Reset();
      case 0x45:
        if (HasMore()) return void(bold_ = Next() & 1);
        break;
      case 0x61:
        if (HasMore()) {
          const unsigned char n = Next();
          if (n <= 2 || (n >= '0' && n <= '2')) return void(align_ = Row::Align(n & 3));
          return Marker("ESC 61 " + Hex(n));
        }
        break;
      case 0x44:
        return TabStops();
      case 0x69:
        return Cut();
      default:
        break;
    }
    Marker("ESC " + Hex(c));
  }

  void GroupSeparator() {
    if (!HasMore()) return Marker("GS");
    const unsigned char c = Next();
    if (c == 0x21 && HasMore()) {
      const unsigned char n = Next();
      widthMul_ = ((n >> 4) & 7) + 1;
      heightMul_ = (n & 7) + 1;
      return;
    }
    Marker("GS " + Hex(c));
  }

  // ESC D n1 ... nk 00: ascending stops; the list ends at 00 or at a value not above the last.
  void TabStops() {
    std::vector<int> stops;
    while (HasMore()) {
      const unsigned char n = Next();
      if (n == 0) {
        tabs_ = stops;
        return;
      }
      if (!stops.empty() && n <= stops.back()) break;
      stops.push_back(n);
    }
    Marker("ESC 44 unterminated");
  }

  void Tab() {
    const auto next = std::upper_bound(tabs_.begin(), tabs_.end(), column_);
    if (next != tabs_.end() && *next < kColumns) column_ = *next;
  }

  void Cut() {
    if (!row_.glyphs.isEmpty()) FinishRow();
    Row cut;
    cut.kind = Row::Cut;
    rows_.append(cut);
  }

  void Marker(const QString& name) { Put(QStringLiteral("⟨%1⟩").arg(name), name.size() + 2, true); }

  void Put(const QString& text, int columns, bool marker) {
    const int width = columns * (marker ? 1 : widthMul_);
    if (column_ + width > kColumns && column_ > 0) FinishRow();  // the printer wraps
    Glyph g;
    g.text = text;
    g.column = column_;
    g.width = width;
    g.bold = bold_;
    g.widthMul = marker ? 1 : widthMul_;
    g.heightMul = marker ? 1 : heightMul_;
    g.marker = marker;
    row_.glyphs.append(g);
    column_ += width;
  }

  void FinishRow() {
    row_.align = align_;
    // An empty line feeds at the current size; a printed one at its tallest character.
    row_.heightMul = row_.glyphs.isEmpty() ? heightMul_ : 1;
    for (const Glyph& g : row_.glyphs) row_.heightMul = std::max(row_.heightMul, g.heightMul);
    rows_.append(row_);
    row_ = Row();
    column_ = 0;
  }

  const std::string& bytes_;
  size_t at_ = 0;
  Cp949Decoder decoder_;
  bool bold_ = false;
  int widthMul_ = 1;
  int heightMul_ = 1;
  Row::Align align_ = Row::AlignLeft;
  std::vector<int> tabs_;
  int column_ = 0;
  Row row_;
  QList<Row> rows_;
};

}  // namespace

int Row::Offset() const {
  const int spare = std::max(0, kColumns - Used());
  if (align == AlignCentre) return spare / 2;
  if (align == AlignRight) return spare;
  return 0;
}

QList<Row> LayOut(const std::string& bytes) { return Printer(bytes).Run(); }

}  // namespace receipt_view
