#include "mouse_settings/stage_colour_button.h"

#include "shell/skin_window.h"

#include <algorithm>
#include <optional>

#include <QPainter>
#include <QPainterPath>

namespace vorlin {
namespace {

constexpr char kColourProperty[] = "bkcolor";

QString ColourText(uint32_t argb) {
  return QStringLiteral("#%1").arg(argb, 8, 16, QLatin1Char('0')).toUpper();
}

// A colour property: "#AARRGGBB", "#RRGGBB" (opaque) or "0xAARRGGBB"; `fallback` otherwise.
uint32_t ColourOfText(const QString& text, uint32_t fallback) {
  uint32_t colour = 0;
  return ParseSkinColor(text, &colour) ? colour : fallback;
}

}  // namespace

StageColourButton::StageColourButton(QWidget* parent) : QPushButton(parent) {
  setCursor(Qt::PointingHandCursor);
  setFlat(true);
}

uint32_t StageColourButton::Colour() const {
  return ColourOfText(property(kColourProperty).toString(), 0xFF000000u);
}

void StageColourButton::SetColour(uint32_t argb) {
  setProperty(kColourProperty, ColourText(argb));
  update();
}

void StageColourButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  // A stage that is switched off shows its colour dimmed.
  painter.setOpacity(isEnabled() ? 1.0 : 0.35);
  const QRectF box = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
  const qreal radius = std::min(box.width(), box.height()) / 4;
  QPainterPath path;
  path.addRoundedRect(box, radius, radius);
  painter.fillPath(path, QColor::fromRgba(Colour()));
  painter.setPen(QPen(QColor(underMouse() || hasFocus() ? 0x57b0ff : 0x465061), 1.2));
  painter.drawPath(path);
}

uint32_t SwatchColour(const QWidget* control, uint32_t fallback) {
  if (!control) return fallback;
  if (auto* button = qobject_cast<const StageColourButton*>(control)) return button->Colour();
  return ColourOfText(control->property(kColourProperty).toString(), fallback);
}

void SetSwatchColour(QWidget* control, uint32_t argb) {
  if (auto* button = qobject_cast<StageColourButton*>(control)) {
    button->SetColour(argb);
  } else if (control) {
    control->setProperty(kColourProperty, ColourText(argb));
  }
}

}  // namespace vorlin
