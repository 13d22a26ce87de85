#include "platform/qt/qt_text.h"

#include <QByteArray>
#include <QFile>

#include "platform/text_encoding.h"

namespace cadenzio {

QString FromCp949(std::string_view cp949) {
  const std::string utf8 = Cp949ToUtf8(cp949);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<std::string> ToCp949(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  Cp949Text converted = Utf8ToCp949(std::string_view(utf8.constData(), utf8.size()));
  if (!converted.ok()) return std::nullopt;
  return std::move(converted.bytes);
}

std::string ToCp949Lossy(const QString& text) {
  std::string out;
  QString rest = text;
  for (;;) {
    const QByteArray utf8 = rest.toUtf8();
    Cp949Text converted = Utf8ToCp949(std::string_view(utf8.constData(), utf8.size()));
    out += converted.bytes;
    if (converted.ok()) return out;
    out += '?';
    const QByteArray tail = utf8.mid(static_cast<qsizetype>(converted.error->offset +
                                                             converted.error->character.size()));
    rest = QString::fromUtf8(tail);
  }
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
