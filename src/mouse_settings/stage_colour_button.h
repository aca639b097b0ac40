#pragma once

// The colour swatch of a DPI stage ("DPI_color_option_"n): a button that shows the stage's
// indicator colour as its background. It draws the colour itself, so the colour survives
// stylesheet and window-scale changes; the dynamic property "bkcolor" ("#AARRGGBB") follows the
// colour, and a layout may give the starting colour through it.

#include <cstdint>

#include <QPushButton>

namespace vorlin {

class StageColourButton : public QPushButton {
  Q_OBJECT

 public:
  explicit StageColourButton(QWidget* parent = nullptr);

  uint32_t Colour() const;  // 0xAARRGGBB
  void SetColour(uint32_t argb);

  QSize sizeHint() const override { return {22, 22}; }
  QSize minimumSizeHint() const override { return {14, 14}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The colour a swatch control shows: a StageColourButton's colour, else the control's "bkcolor"
// property; `fallback` for no control or no readable colour.
uint32_t SwatchColour(const QWidget* control, uint32_t fallback = 0xFF000000);
// Gives a swatch control its colour (a StageColourButton, or any control through "bkcolor").
void SetSwatchColour(QWidget* control, uint32_t argb);

}  // namespace vorlin
