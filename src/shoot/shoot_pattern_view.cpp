#include "shoot/shoot_pattern_view.h"

#include <QPainter>
#include <QPainterPath>

#include "shoot/shoot_pattern.h"

namespace vorlin {
namespace {

constexpr double kMargin = 14.0;
constexpr double kMaxScale = 4.0;
const QColor kBackground(0x15, 0x17, 0x1c);
const QColor kGrid(0x2a, 0x2f, 0x38);
const QColor kPath(0x2f, 0x9b, 0xff);
const QColor kDot(0x9f, 0xd0, 0xff);
const QColor kStart(0x57, 0xb0, 0xff);
const QColor kSelected(0xff, 0xff, 0xff);

}  // namespace

ShootPatternView::ShootPatternView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ShootPatternView::SetBullets(const std::vector<Bullet>& bullets) {
  if (bullets == bullets_) return;
  bullets_ = bullets;
  update();
}

void ShootPatternView::SetSelectedBullet(int bullet) {
  if (bullet == selected_) return;
  selected_ = bullet;
  update();
}

QSize ShootPatternView::sizeHint() const {
  return {320, 170};
}

QSize ShootPatternView::minimumSizeHint() const {
  return {160, 120};
}

void ShootPatternView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF area = rect();
  painter.setPen(QPen(kGrid, 1));
  painter.setBrush(kBackground);
  painter.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);

  const std::vector<PatternPoint> points = PatternPoints(bullets_);
  const PatternFrame frame = FitPattern(points, area.width(), area.height(), kMargin, kMaxScale);
  const auto at = [&frame](const PatternPoint& p) {
    return QPointF(p.x * frame.scale + frame.offset_x, p.y * frame.scale + frame.offset_y);
  };

  // Cross hairs through the start.
  const QPointF start = at(points.front());
  painter.setPen(QPen(kGrid, 1, Qt::DashLine));
  painter.drawLine(QPointF(area.left() + 4, start.y()), QPointF(area.right() - 4, start.y()));
  painter.drawLine(QPointF(start.x(), area.top() + 4), QPointF(start.x(), area.bottom() - 4));

  if (points.size() > 1) {
    QPainterPath path(start);
    for (size_t i = 1; i < points.size(); ++i) path.lineTo(at(points[i]));
    painter.setPen(QPen(kPath, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
  }
  // Small dots, so that the path still shows between bullets that lie close together.
  painter.setPen(Qt::NoPen);
  painter.setBrush(kDot);
  for (size_t i = 1; i < points.size(); ++i) painter.drawEllipse(at(points[i]), 1.5, 1.5);
  painter.setBrush(kStart);
  painter.drawEllipse(start, 4, 4);

  // Bullet b leaves the pointer at point b + 1.
  if (selected_ >= 0 && static_cast<size_t>(selected_) + 1 < points.size()) {
    painter.setPen(QPen(kSelected, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at(points[selected_ + 1]), 6, 6);
  }
}

}  // namespace vorlin
