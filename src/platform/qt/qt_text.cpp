#include "platform/qt/qt_text.h"

#include <QByteArray>
#include <QFile>
#include <array>
#include <cstdint>
#include <optional>

#include "platform/text_encoding.h"

namespace cadenzio {

QString FromCp949(std::string_view cp949) {
  const std::string utf8 = Cp949ToUtf8(cp949);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

namespace {

// Every two-byte CP949 character as the one UTF-16 unit iconv decodes it to,
// found by decoding all pairs at once; 0 where a pair is no character.
class Cp949Pairs {
 public:
  static constexpr unsigned kFirstLead = 0x81, kLastLead = 0xFE;
  static constexpr unsigned kFirstTrail = 0x41, kLastTrail = 0xFE;

  Cp949Pairs() {
    std::string all;
    for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead) {
      for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
        all += static_cast<char>(lead);
        all += static_cast<char>(trail);
        all += '\n';
      }
    }
    const QString decoded = FromCp949(all);
    qsizetype at = 0;
    for (char16_t& unit : units_) {
      const qsizetype end = decoded.indexOf(u'\n', at);
      const char16_t first = decoded[at].unicode();
      // A pair that is no character decodes to two units or to raw bytes.
      if (end == at + 1 && (first < kRawByteBase + 0x80 || first > kRawByteBase + 0xFF))
        unit = first;
      at = end + 1;
    }
    FillPairsOfUnits();
  }

  char16_t Of(unsigned char lead, unsigned char trail) const {
    if (lead < kFirstLead || lead > kLastLead || trail < kFirstTrail || trail > kLastTrail)
      return 0;
    return units_[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)];
  }

  // The pair (lead << 8 | trail) iconv encodes a unit to, or 0 where the
  // careful path must decide.
  std::uint16_t PairOf(char16_t unit) const { return pairs_of_units_[unit]; }

 private:
  static constexpr unsigned kTrails = kLastTrail - kFirstTrail + 1;
  static constexpr std::uint16_t kAmbiguous = 0xFFFF;

  // A unit is taken only when exactly one pair decodes to it and iconv
  // encodes it to that pair, so the fast encoding is the careful one.
  void FillPairsOfUnits() {
    for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead) {
      for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
        const char16_t unit = Of(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
        if (unit == 0) continue;
        std::uint16_t& pair = pairs_of_units_[unit];
        pair = pair == 0 ? static_cast<std::uint16_t>(lead << 8 | trail) : kAmbiguous;
      }
    }
    QString units;
    std::string expected;
    for (std::size_t unit = 0; unit < pairs_of_units_.size(); ++unit) {
      std::uint16_t& pair = pairs_of_units_[unit];
      if (pair == kAmbiguous) pair = 0;
      if (pair == 0) continue;
      units += QChar(static_cast<char16_t>(unit));
      expected += static_cast<char>(pair >> 8);
      expected += static_cast<char>(pair & 0xFF);
    }
    const QByteArray utf8 = units.toUtf8();
    const Cp949Text encoded = Utf8ToCp949(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    if (!encoded.ok() || encoded.bytes != expected) pairs_of_units_.fill(0);  // no fast path
  }

  std::array<char16_t, (kLastLead - kFirstLead + 1) * kTrails> units_{};
  std::array<std::uint16_t, 0x10000> pairs_of_units_{};
};

const Cp949Pairs& Pairs() {
  static const Cp949Pairs pairs;  // a constant, worked out on first use
  return pairs;
}

// Nothing when a byte is no character: the careful path takes those.
std::optional<QString> FromCleanCp949Lines(std::string_view bytes) {
  const Cp949Pairs& pairs = Pairs();
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  char16_t* out = reinterpret_cast<char16_t*>(text.data());
  char16_t* const begin = out;
  const std::size_t size = bytes.size();
  for (std::size_t i = 0; i < size; ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      if (c == '\r') {
        *out++ = u'\n';
        if (i + 1 < size && bytes[i + 1] == '\n') ++i;
      } else {
        *out++ = c;
      }
      continue;
    }
    const char16_t unit =
        i + 1 < size ? pairs.Of(c, static_cast<unsigned char>(bytes[i + 1])) : char16_t{0};
    if (unit == 0) return std::nullopt;
    *out++ = unit;
    ++i;
  }
  text.truncate(out - begin);
  return text;
}

// Nothing when a character needs the careful path (no CP949 form, or a
// form only iconv can tell).
std::optional<std::string> ToCleanCp949(const QString& text) {
  const Cp949Pairs& pairs = Pairs();
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()) * 2);
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    if (unit < 0x80) {
      out += static_cast<char>(unit);
    } else if (unit >= kRawByteBase + 0x80 && unit <= kRawByteBase + 0xFF) {
      out += static_cast<char>(unit - kRawByteBase);
    } else if (const std::uint16_t pair = pairs.PairOf(unit); pair != 0) {
      out += static_cast<char>(pair >> 8);
      out += static_cast<char>(pair & 0xFF);
    } else {
      return std::nullopt;
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> ToCp949(const QString& text) {
  if (std::optional<std::string> clean = ToCleanCp949(text)) return clean;
  const QByteArray utf8 = text.toUtf8();
  Cp949Text converted = Utf8ToCp949(std::string_view(utf8.constData(), utf8.size()));
  if (!converted.ok()) return std::nullopt;
  return std::move(converted.bytes);
}

std::string ToCp949Lossy(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Utf8ToCp949Lossy(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString FromWorkingText(std::string_view bytes, const CodePage& cp) {
  if (cp.kind() == CodePage::Kind::Cp949) return FromCp949(bytes);
  std::string utf8;
  utf8.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = cp.CharLength(bytes, i);
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (length == 1 && c >= 0x80) {
      const char32_t raw = kRawByteBase + c;  // U+F780..U+F7FF: three bytes
      utf8 += static_cast<char>(0xE0 | (raw >> 12));
      utf8 += static_cast<char>(0x80 | ((raw >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (raw & 0x3F));
    } else {
      utf8.append(bytes.substr(i, length));
    }
    i += length;
  }
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString BreaksAsNewlines(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}


QString FromWorkingLines(std::string_view bytes, const CodePage& cp) {
  if (cp.kind() == CodePage::Kind::Cp949) {
    if (std::optional<QString> text = FromCleanCp949Lines(bytes)) return std::move(*text);
  }
  return BreaksAsNewlines(FromWorkingText(bytes, cp));
}

std::string ToWorkingText(const QString& text, const CodePage& cp) {
  if (cp.kind() == CodePage::Kind::Cp949) {
    if (std::optional<std::string> bytes = ToCp949(text)) return std::move(*bytes);
    return ToCp949Lossy(text);
  }
  const QByteArray utf8 = text.toUtf8();
  const std::string_view in(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  std::string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (static_cast<unsigned char>(in[i]) == 0xEF && i + 2 < in.size()) {
      const char32_t code = 0xF000 | ((static_cast<unsigned char>(in[i + 1]) & 0x3F) << 6) |
                            (static_cast<unsigned char>(in[i + 2]) & 0x3F);
      if (code >= kRawByteBase + 0x80 && code <= kRawByteBase + 0xFF) {
        out += static_cast<char>(code - kRawByteBase);
        i += 2;
        continue;
      }
    }
    out += in[i];
  }
  return out;
}

QString FromNativePath(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string ToNativePath(const QString& path) {
  const QByteArray bytes = QFile::encodeName(path);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace cadenzio
