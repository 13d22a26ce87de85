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

QString FromNativePath(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string ToNativePath(const QString& path) {
  const QByteArray bytes = QFile::encodeName(path);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace cadenzio
