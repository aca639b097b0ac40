#include "lighting/light_swatch_button.h"

#include <algorithm>

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>

#include "shell/skin_window.h"

namespace vorlin {
namespace {

constexpr char kColourProperty[] = "bkcolor";

QString ColourText(uint32_t argb) {
  return QStringLiteral("#%1").arg(argb, 8, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

LightSwatchButton::LightSwatchButton(QWidget* parent) : QPushButton(parent) {
  setCursor(Qt::PointingHandCursor);
  setProperty("controlClass", QStringLiteral("LightSwatchButton"));
}

void LightSwatchButton::SetBackgroundColour(uint32_t argb) {
  if (colour_ == argb && property(kColourProperty).toString() == ColourText(argb)) return;
  colour_ = argb;
  // The property follows, so that a reader of "bkcolor" sees the colour shown.
  setProperty(kColourProperty, ColourText(argb));
  update();
}

QSize LightSwatchButton::sizeHint() const {
  constexpr int kDefaultSide = 26;
  constexpr int kUnbounded = 4096;
  const QSize max = maximumSize();
  if (max.width() < kUnbounded && max.height() < kUnbounded) return max;
  return minimumSize().expandedTo({kDefaultSide, kDefaultSide});
}

bool LightSwatchButton::event(QEvent* event) {
  if (event->type() == QEvent::DynamicPropertyChange &&
      static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == kColourProperty) {
    uint32_t colour = 0;
    if (ParseSkinColor(property(kColourProperty).toString(), &colour) && colour != colour_) {
      colour_ = colour;
      update();
    }
  }
  return QPushButton::event(event);
}

void LightSwatchButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal side = std::min(width(), height());
  const qreal radius = std::max<qreal>(3.0, side * 0.22);
  const qreal ring = std::max<qreal>(1.0, side / 26.0);
  const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

  QColor fill = QColor::fromRgba(colour_);
  if (!isEnabled()) fill.setAlphaF(fill.alphaF() * 0.35);
  if (isDown()) fill = fill.darker(120);

  const bool lit = isEnabled() && (underMouse() || hasFocus());
  QColor border = lit ? QColor(0x2f, 0x9b, 0xff) : QColor(255, 255, 255, isEnabled() ? 40 : 18);
  painter.setPen(QPen(border, lit ? 2 * ring : ring));
  painter.setBrush(fill);
  painter.drawRoundedRect(outer.adjusted(ring / 2, ring / 2, -ring / 2, -ring / 2), radius, radius);

  if (!text().isEmpty()) {
    // A caption stays readable on light and dark colours alike.
    const bool light = fill.lightness() > 150;
    painter.setPen(light ? QColor(0x16, 0x18, 0x1d) : QColor(0xff, 0xff, 0xff));
    painter.drawText(rect(), Qt::AlignCenter, text());
  }
}

uint32_t ControlBackgroundColour(const QWidget* control, uint32_t fallback) {
  if (!control) return fallback;
  if (auto* swatch = qobject_cast<const LightSwatchButton*>(control))
    return swatch->BackgroundColour();
  uint32_t colour = 0;
  if (ParseSkinColor(control->property(kColourProperty).toString(), &colour)) return colour;
  return fallback;
}

void SetControlBackgroundColour(QWidget* control, uint32_t argb) {
  if (!control) return;
  if (auto* swatch = qobject_cast<LightSwatchButton*>(control)) {
    swatch->SetBackgroundColour(argb);
    return;
  }
  control->setProperty(kColourProperty, ColourText(argb));
  const QColor colour = QColor::fromRgba(argb);
  control->setStyleSheet(QStringLiteral("background-color: rgba(%1, %2, %3, %4);")
                             .arg(colour.red())
                             .arg(colour.green())
                             .arg(colour.blue())
                             .arg(colour.alpha()));
}

}  // namespace vorlin
