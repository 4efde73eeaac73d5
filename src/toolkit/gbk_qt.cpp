#include "toolkit/gbk_qt.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

#include "core/gbk.h"

namespace tk {
namespace {

// Stateless: each call converts a complete text, nothing is carried over.
// A Qt built without a GBK codec (no ICU) leaves both invalid; the texts then
// go through the core's own conversion, which asks the system.
QStringDecoder& Decoder() {
  static QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
  return decoder;
}

QStringEncoder& Encoder() {
  static QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
  return encoder;
}

}  // namespace

QString QStringFromGbk(std::string_view gbk) {
  if (gbk.empty()) return QString();
  if (!Decoder().isValid()) return QString::fromStdString(Utf8FromGbk(gbk));
  return Decoder().decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

std::string GbkFromQString(const QString& text) {
  if (text.isEmpty()) return std::string();
  if (!Encoder().isValid()) return Gbk(text.toStdString());
  QByteArray bytes = Encoder().encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

int GbkByteCount(const QString& text) {
  return static_cast<int>(GbkFromQString(text).size());
}

int GbkCharCode(char32_t ch) {
  if (ch < 0x80) return static_cast<int>(ch);
  const QString s = QString::fromUcs4(&ch, 1);
  const std::string bytes = GbkFromQString(s);
  if (bytes.size() == 2) {
    return (static_cast<unsigned char>(bytes[0]) << 8) | static_cast<unsigned char>(bytes[1]);
  }
  if (bytes.size() == 1 && bytes[0] != '?') return static_cast<unsigned char>(bytes[0]);
  return static_cast<int>(ch);
}

QString QStringFromGbkCharCode(int code) {
  if (code >= 0 && code < 0x80) return QString(QChar(code));
  if (code >= 0x8140 && code <= 0xFEFE) {
    const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    QString s = QStringFromGbk(std::string_view(bytes, 2));
    if (s.size() == 1 && s[0] != QChar(0xFFFD)) return s;
  }
  if (code == 0x80) return QStringFromGbk(std::string_view("\x80", 1));
  if (code > 0 && code <= 0x10FFFF) {
    const char32_t ch = static_cast<char32_t>(code);
    return QString::fromUcs4(&ch, 1);
  }
  return QString();
}

}  // namespace tk
