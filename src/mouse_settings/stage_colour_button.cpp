#include "mouse_settings/stage_colour_button.h"

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

// "#AARRGGBB", "#RRGGBB" (opaque) or "0xAARRGGBB".
std::optional<uint32_t> ParseColour(QString text) {
  text = text.trimmed();
  if (text.startsWith(QLatin1Char('#'))) {
    text.remove(0, 1);
  } else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    text.remove(0, 2);
  } else {
    return std::nullopt;
  }
  if (text.size() != 6 && text.size() != 8) return std::nullopt;
  bool ok = false;
  const uint32_t value = text.toUInt(&ok, 16);
  if (!ok) return std::nullopt;
  return text.size() == 6 ? (0xFF000000u | value) : value;
}

}  // namespace

StageColourButton::StageColourButton(QWidget* parent) : QPushButton(parent) {
  setCursor(Qt::PointingHandCursor);
  setFlat(true);
}

uint32_t StageColourButton::Colour() const {
  return ParseColour(property(kColourProperty).toString()).value_or(0xFF000000u);
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
  return ParseColour(control->property(kColourProperty).toString()).value_or(fallback);
}

void SetSwatchColour(QWidget* control, uint32_t argb) {
  if (auto* button = qobject_cast<StageColourButton*>(control)) {
    button->SetColour(argb);
  } else if (control) {
    control->setProperty(kColourProperty, ColourText(argb));
  }
}

}  // namespace vorlin
