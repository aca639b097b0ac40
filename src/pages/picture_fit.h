#pragma once

// The device picture of a page takes the room its page leaves beside the panels' column: it is
// scaled (its parts with it) to the largest size that fits the room with its proportions kept,
// centred there, and never drawn larger than kMaxPictureGrowth times its size at the window's
// scale, so a large window does not blow it up.

#include <QObject>
#include <QSize>

class QWidget;

namespace vorlin {

inline constexpr double kMaxPictureGrowth = 1.6;

// The factor (from the layout's size, `base`) at which a picture fills `room`;
// `window_factor` is the window's scale. 0 for an empty picture.
double PictureScale(QSize base, QSize room, double window_factor);

// Keeps `picture` (a placed child of `area`) fitted to `area` whenever the area is resized or
// shown. The fitter is a child of the area.
class PictureFit : public QObject {
 public:
  PictureFit(QWidget* area, QWidget* picture);
  // Fits the picture now.
  void Fit();
  // The picture's size in the layout, which the scale multiplies.
  QSize Base() const { return base_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* area_;
  QWidget* picture_;
  QSize base_;
};

}  // namespace vorlin
