#include "pages/picture_fit.h"

#include <algorithm>
#include <cmath>

#include <QEvent>
#include <QWidget>

#include "ui/window_scale.h"

namespace vorlin {

double PictureScale(QSize base, QSize room, double window_factor) {
  if (base.isEmpty() || room.isEmpty()) return 0.0;
  const double fit = std::min(static_cast<double>(room.width()) / base.width(),
                              static_cast<double>(room.height()) / base.height());
  return std::min(fit, window_factor * kMaxPictureGrowth);
}

PictureFit::PictureFit(QWidget* area, QWidget* picture)
    : QObject(area), area_(area), picture_(picture), base_(picture->size()) {
  area_->installEventFilter(this);
}

void PictureFit::Fit() {
  const double factor =
      PictureScale(base_, area_->size(), ScaleFactorForDpi(WindowDpi(area_->window())));
  if (factor <= 0.0) return;
  ApplyScaleFactor(picture_, factor);
  // The picture's own size from the size it was made with: the window's scaling may have met it
  // while it still sat in a layout, and taken a laid-out size for its layout size.
  picture_->resize(static_cast<int>(std::lround(base_.width() * factor)),
                   static_cast<int>(std::lround(base_.height() * factor)));
  QRect place(QPoint(), picture_->size());
  place.moveCenter(area_->rect().center());
  picture_->move(place.topLeft());
}

bool PictureFit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == area_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) Fit();
  return QObject::eventFilter(watched, event);
}

}  // namespace vorlin
