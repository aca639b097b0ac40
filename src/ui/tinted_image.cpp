#include "ui/tinted_image.h"

#include <algorithm>

#include <QPainter>

#include "ui/light_colour.h"

namespace vorlin {

namespace {

int Scale255(int value, int factor) {
  return (value * factor + 127) / 255;
}

}  // namespace

QImage TintImage(const QImage& light, uint32_t colour_word, int level) {
  if (light.isNull()) return {};
  level = std::clamp(level, 0, 255);
  QImage out = light.convertToFormat(QImage::Format_ARGB32);
  const int red = LightRed(colour_word);
  const int green = LightGreen(colour_word);
  const int blue = LightBlue(colour_word);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const QRgb px = line[x];
      const int bright = std::max({qRed(px), qGreen(px), qBlue(px)});
      line[x] = qRgba(Scale255(red, bright), Scale255(green, bright), Scale255(blue, bright),
                      Scale255(qAlpha(px), level));
    }
  }
  return out;
}

void DrawTintedImage(QPainter& painter, const QRect& target, const QImage& light,
                     uint32_t colour_word, int level) {
  if (light.isNull() || level <= 0) return;
  painter.drawImage(target, TintImage(light, colour_word, level));
}

}  // namespace vorlin
