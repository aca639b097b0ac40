#pragma once

// A button that shows a colour: the lighting panel's colour buttons ("deng_colordp_btn",
// "deng_audiocolordp_btn") and its preset colours ("color_option_"n, "audiocolor_option_"n).
// The colour is the button's background colour; layouts give it as the dynamic property
// "bkcolor" ("#AARRGGBB", "#RRGGBB" or "0xAARRGGBB"). The button draws the colour itself, so it
// keeps it through stylesheet and scale changes.

#include <cstdint>

#include <QPushButton>

namespace vorlin {

class LightSwatchButton : public QPushButton {
  Q_OBJECT

 public:
  explicit LightSwatchButton(QWidget* parent = nullptr);

  // 0xAARRGGBB.
  uint32_t BackgroundColour() const { return colour_; }
  void SetBackgroundColour(uint32_t argb);

  // As large as the layout file bounds it (its maximum size), else 26 x 26.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return {16, 16}; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  uint32_t colour_ = 0xFF000000;
};

// The background colour of a colour control as 0xAARRGGBB: a LightSwatchButton's colour, else the
// control's "bkcolor" property; `fallback` for no control or no colour.
uint32_t ControlBackgroundColour(const QWidget* control, uint32_t fallback = 0xFF000000);
// Gives a colour control its background colour (a LightSwatchButton, or any control through its
// "bkcolor" property and a stylesheet rule).
void SetControlBackgroundColour(QWidget* control, uint32_t argb);

}  // namespace vorlin
