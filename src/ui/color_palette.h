#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace vorlin {

// The colour palette: a hue/saturation field (hue left to right, saturation from full at the top
// to none at the bottom) beside a value strip (bright at the top, black at the bottom). Picking in
// either part changes the selected colour and raises "colorchanged"; SetColor() from code raises
// nothing.
class ColorPalette : public QWidget {
  Q_OBJECT

 public:
  explicit ColorPalette(QWidget* parent = nullptr);

  QColor Color() const { return QColor::fromHsv(hue_, saturation_, value_).toRgb(); }
  void SetColor(const QColor& colour);

  // The parts of the palette in widget coordinates.
  QRect FieldRect() const;
  QRect StripRect() const;

  QSize sizeHint() const override { return {220, 160}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  enum class Part { kNone, kField, kStrip };
  void PickAt(QPoint point);

  int hue_ = 0;
  int saturation_ = 255;
  int value_ = 255;
  Part dragging_ = Part::kNone;
  QImage field_cache_;
};

// Hue (0-359) and saturation (0-255) at `point` of a field of `size`; points outside are clamped
// to its edge.
struct HueSaturation {
  int hue = 0;
  int saturation = 0;
};
HueSaturation HueSaturationAt(QSize size, QPoint point);
// Value (0-255) at height `y` of a strip `height` pixels tall (255 at the top).
int ValueAt(int height, int y);

}  // namespace vorlin
