#include "ui/color_palette.h"

#include <algorithm>

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "ui/notify_bridge.h"

namespace vorlin {

namespace {

constexpr int kStripWidth = 18;
constexpr int kGap = 8;

int Span(int extent) {
  return std::max(1, extent - 1);
}

}  // namespace

HueSaturation HueSaturationAt(QSize size, QPoint point) {
  const int x = std::clamp(point.x(), 0, Span(size.width()));
  const int y = std::clamp(point.y(), 0, Span(size.height()));
  return {std::min(359, x * 360 / Span(size.width())),
          255 - (y * 255 + Span(size.height()) / 2) / Span(size.height())};
}

int ValueAt(int height, int y) {
  y = std::clamp(y, 0, Span(height));
  return 255 - (y * 255 + Span(height) / 2) / Span(height);
}

ColorPalette::ColorPalette(QWidget* parent) : QWidget(parent) {
  setProperty("controlClass", QStringLiteral("ColorPalette"));
  setMinimumSize(80, 48);
  setCursor(Qt::CrossCursor);
}

void ColorPalette::SetColor(const QColor& colour) {
  const QColor hsv = colour.toHsv();
  // Greys have no hue; keep the current one so the marker does not jump.
  if (hsv.hsvHue() >= 0) hue_ = hsv.hsvHue();
  saturation_ = hsv.hsvSaturation();
  value_ = hsv.value();
  update();
}

QRect ColorPalette::FieldRect() const {
  return QRect(0, 0, std::max(1, width() - kStripWidth - kGap), height());
}

QRect ColorPalette::StripRect() const {
  return QRect(width() - kStripWidth, 0, kStripWidth, height());
}

void ColorPalette::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect field = FieldRect();
  if (field_cache_.size() != field.size()) {
    field_cache_ = QImage(field.size(), QImage::Format_RGB32);
    for (int y = 0; y < field.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(field_cache_.scanLine(y));
      for (int x = 0; x < field.width(); ++x) {
        const HueSaturation hs = HueSaturationAt(field.size(), {x, y});
        line[x] = QColor::fromHsv(hs.hue, hs.saturation, 255).rgb();
      }
    }
  }
  painter.drawImage(field.topLeft(), field_cache_);

  const QRect strip = StripRect();
  QLinearGradient gradient(strip.topLeft(), strip.bottomLeft());
  gradient.setColorAt(0, QColor::fromHsv(hue_, saturation_, 255));
  gradient.setColorAt(1, Qt::black);
  painter.fillRect(strip, gradient);

  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::NoBrush);
  const QPointF marker(field.left() + hue_ * Span(field.width()) / 359.0,
                       field.top() + (255 - saturation_) * Span(field.height()) / 255.0);
  painter.setPen(QPen(Qt::black, 3));
  painter.drawEllipse(marker, 5, 5);
  painter.setPen(QPen(Qt::white, 1.5));
  painter.drawEllipse(marker, 5, 5);
  const int value_y = strip.top() + (255 - value_) * Span(strip.height()) / 255;
  painter.setPen(QPen(Qt::white, 2));
  painter.drawRect(strip.left() - 1, value_y - 2, strip.width() + 1, 4);
}

void ColorPalette::PickAt(QPoint point) {
  if (dragging_ == Part::kField) {
    const HueSaturation hs = HueSaturationAt(FieldRect().size(), point - FieldRect().topLeft());
    hue_ = hs.hue;
    saturation_ = hs.saturation;
  } else if (dragging_ == Part::kStrip) {
    value_ = ValueAt(StripRect().height(), point.y() - StripRect().top());
  } else {
    return;
  }
  update();
  SendNotification(this, notify::kColorChanged);
}

void ColorPalette::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const QPoint point = event->position().toPoint();
  dragging_ = StripRect().contains(point)   ? Part::kStrip
              : FieldRect().contains(point) ? Part::kField
                                            : Part::kNone;
  PickAt(point);
}

void ColorPalette::mouseMoveEvent(QMouseEvent* event) {
  PickAt(event->position().toPoint());
}

void ColorPalette::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = Part::kNone;
}

}  // namespace vorlin
