#include "ui/window_scale.h"

#include <cmath>

#include <QAbstractButton>
#include <QLayout>
#include <QRegularExpression>
#include <QWidget>

namespace vorlin {

namespace {

constexpr char kDpiProperty[] = "_vorlin_dpi";
constexpr char kBaseMin[] = "_vorlin_base_min";
constexpr char kBaseMax[] = "_vorlin_base_max";
constexpr char kBaseGeometry[] = "_vorlin_base_geometry";
constexpr char kBaseFont[] = "_vorlin_base_font";
constexpr char kBaseIcon[] = "_vorlin_base_icon";
constexpr char kBaseMargins[] = "_vorlin_base_margins";
constexpr char kBaseSpacing[] = "_vorlin_base_spacing";
constexpr char kBaseStyle[] = "_vorlin_base_style";

int Scaled(int value, double factor) {
  if (value >= QWIDGETSIZE_MAX) return value;
  return static_cast<int>(std::lround(value * factor));
}

QSize Scaled(QSize size, double factor) {
  return {Scaled(size.width(), factor), Scaled(size.height(), factor)};
}

template <typename T>
T Base(QObject* object, const char* property, const T& current) {
  QVariant base = object->property(property);
  if (!base.isValid()) {
    object->setProperty(property, QVariant::fromValue(current));
    return current;
  }
  return base.value<T>();
}

void ScaleLayout(QLayout* layout, double factor) {
  if (!layout) return;
  const QMargins m = Base(layout, kBaseMargins, layout->contentsMargins());
  layout->setContentsMargins(Scaled(m.left(), factor), Scaled(m.top(), factor),
                             Scaled(m.right(), factor), Scaled(m.bottom(), factor));
  const int spacing = Base(layout, kBaseSpacing, layout->spacing());
  if (spacing >= 0) layout->setSpacing(Scaled(spacing, factor));
  for (int i = 0; i < layout->count(); ++i) ScaleLayout(layout->itemAt(i)->layout(), factor);
}

void ScaleWidget(QWidget* widget, double factor) {
  const QSize min = Base(widget, kBaseMin, widget->minimumSize());
  const QSize max = Base(widget, kBaseMax, widget->maximumSize());
  QSize scaled_min = Scaled(min, factor);
  QSize scaled_max = Scaled(max, factor);
  // A length the program's stylesheet gives (min-height, max-width, ...) is scaled with the
  // stylesheet itself; scaling it again here would count the factor twice.
  if (widget->property("_q_stylesheet_minw").toBool()) scaled_min.setWidth(widget->minimumWidth());
  if (widget->property("_q_stylesheet_minh").toBool())
    scaled_min.setHeight(widget->minimumHeight());
  if (widget->property("_q_stylesheet_maxw").toBool()) scaled_max.setWidth(widget->maximumWidth());
  if (widget->property("_q_stylesheet_maxh").toBool())
    scaled_max.setHeight(widget->maximumHeight());
  widget->setMinimumSize(scaled_min);
  widget->setMaximumSize(scaled_max);

  // Widgets placed by position (no layout of the parent manages them) and windows keep their
  // layout rectangle scaled.
  QWidget* parent = widget->parentWidget();
  const bool placed =
      widget->isWindow() || !parent || !parent->layout() || parent->layout()->indexOf(widget) < 0;
  if (placed) {
    const QRect g = Base(widget, kBaseGeometry, widget->geometry());
    const QRect scaled(Scaled(g.x(), factor), Scaled(g.y(), factor), Scaled(g.width(), factor),
                       Scaled(g.height(), factor));
    if (widget->isWindow()) {
      widget->resize(scaled.size());
    } else {
      widget->setGeometry(scaled);
    }
  }

  if (widget->isWindow() || widget->testAttribute(Qt::WA_SetFont) ||
      widget->property(kBaseFont).isValid()) {
    const QFont base = Base(widget, kBaseFont, widget->font());
    QFont font = base;
    if (base.pixelSize() > 0) {
      font.setPixelSize(std::max(1, Scaled(base.pixelSize(), factor)));
    } else if (base.pointSizeF() > 0) {
      font.setPointSizeF(base.pointSizeF() * factor);
    }
    widget->setFont(font);
  }

  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setIconSize(Scaled(Base(widget, kBaseIcon, button->iconSize()), factor));
  }

  if (!widget->styleSheet().isEmpty() || widget->property(kBaseStyle).isValid()) {
    widget->setStyleSheet(ScaleStyleSheet(Base(widget, kBaseStyle, widget->styleSheet()), factor));
  }
  ScaleLayout(widget->layout(), factor);
}

}  // namespace

double ScaleFactorForDpi(int dpi) {
  return dpi > 0 ? dpi / 96.0 : 1.0;
}

void ApplyWindowScale(QWidget* window, int dpi) {
  if (!window) return;
  window->setProperty(kDpiProperty, dpi > 0 ? dpi : 96);
  ApplyScaleFactor(window, ScaleFactorForDpi(dpi));
}

void ApplyScaleFactor(QWidget* root, double factor) {
  if (!root) return;
  ScaleWidget(root, factor);
  for (QWidget* child : root->findChildren<QWidget*>()) ScaleWidget(child, factor);
}

int WindowDpi(const QWidget* window) {
  const QVariant dpi = window ? window->property(kDpiProperty) : QVariant();
  return dpi.isValid() ? dpi.toInt() : 96;
}

QString ScaleStyleSheet(const QString& style_sheet, double factor) {
  static const QRegularExpression px_re(QStringLiteral("(\\d+(?:\\.\\d+)?)px"));
  QString out;
  out.reserve(style_sheet.size());
  qsizetype last = 0;
  for (auto it = px_re.globalMatch(style_sheet); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    // A number glued to a word ("h2px" in an image name) is not a length.
    if (m.capturedStart() > 0) {
      const QChar before = style_sheet.at(m.capturedStart() - 1);
      if (before.isLetter() || before == QLatin1Char('_') || before == QLatin1Char('.')) continue;
    }
    const double value = m.captured(1).toDouble();
    long scaled = std::lround(value * factor);
    if (value > 0 && scaled < 1) scaled = 1;
    out += style_sheet.mid(last, m.capturedStart() - last);
    out += QString::number(scaled) + QLatin1String("px");
    last = m.capturedEnd();
  }
  out += style_sheet.mid(last);
  return out;
}

}  // namespace vorlin
