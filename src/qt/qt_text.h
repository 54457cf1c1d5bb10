// Small conversions between the core's values and Qt's: UTF-8 text, twips and pixels, colours.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>
#include <string_view>

namespace quelo::qt {

inline QString qs(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
inline std::string utf8(const QString& s) { return s.toStdString(); }

// 1,440 twips to the inch, at the widget's screen resolution.
inline int twipsToPixels(int32_t twips, const QWidget* w) {
  const int dpi = w ? w->logicalDpiX() : 96;
  return static_cast<int>((static_cast<int64_t>(twips) * dpi + 720) / 1440);
}

// Colours are 0x00BBGGRR in the core.
inline QColor toQColor(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
inline uint32_t fromQColor(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 | static_cast<uint32_t>(c.blue()) << 16;
}

// Positions in UTF-8 bytes (the core's) and in UTF-16 units (Qt's) of the same text.
inline int charsToBytes(const QString& text, int chars) { return static_cast<int>(text.left(chars).toUtf8().size()); }
inline int bytesToChars(const std::string& text, int32_t bytes) {
  const size_t n = std::min(text.size(), static_cast<size_t>(std::max(bytes, 0)));
  return static_cast<int>(QString::fromUtf8(text.data(), static_cast<qsizetype>(n)).size());
}

}  // namespace quelo::qt
