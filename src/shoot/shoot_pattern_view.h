#pragma once

// Draws a gun's pattern: the path the pointer takes bullet by bullet (shoot_pattern.h), the
// start, a dot per bullet and a ring round the selected one. One view stands on each page of the
// panel's "shoot_image_display_switch".

#include <vector>

#include <QWidget>

#include "profiles/gun_document.h"

namespace vorlin {

class ShootPatternView : public QWidget {
  Q_OBJECT

 public:
  explicit ShootPatternView(QWidget* parent = nullptr);

  void SetBullets(const std::vector<Bullet>& bullets);
  const std::vector<Bullet>& Bullets() const { return bullets_; }
  // The bullet drawn with a ring; -1 for none.
  void SetSelectedBullet(int bullet);
  int SelectedBullet() const { return selected_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<Bullet> bullets_;
  int selected_ = -1;
};

}  // namespace vorlin
