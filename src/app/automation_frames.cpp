#include "app/automation_frames.h"

#include <algorithm>

#include <QEvent>
#include <QWidget>

namespace vorlin {

namespace {
double Ms(qint64 ns) {
  return static_cast<double>(ns) / 1e6;
}
}  // namespace

PaintCounter::PaintCounter(QWidget* widget) : QObject(widget) {
  clock_.start();
  widget->installEventFilter(this);
}

PaintCounter* PaintCounter::Of(QWidget* widget) {
  if (!widget) return nullptr;
  if (auto* counter = widget->findChild<PaintCounter*>(QString(), Qt::FindDirectChildrenOnly))
    return counter;
  return new PaintCounter(widget);
}

bool PaintCounter::Installed(const QWidget* widget) {
  return widget &&
         widget->findChild<PaintCounter*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
}

PaintCounter::Sample PaintCounter::Take() {
  const qint64 now = clock_.nsecsElapsed();
  const qint64 last = frames_ > 0 ? last_paint_ns_ : interval_start_ns_;
  Sample sample;
  sample.frames = frames_;
  sample.maxGapMs = Ms(std::max(max_gap_ns_, now - last));
  sample.elapsedMs = Ms(now - interval_start_ns_);
  interval_start_ns_ = now;
  max_gap_ns_ = 0;
  frames_ = 0;
  return sample;
}

bool PaintCounter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched == parent()) {
    const qint64 now = clock_.nsecsElapsed();
    const qint64 last = frames_ > 0 ? last_paint_ns_ : interval_start_ns_;
    max_gap_ns_ = std::max(max_gap_ns_, now - last);
    last_paint_ns_ = now;
    ++frames_;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vorlin
