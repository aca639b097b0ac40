#pragma once

// The paint counter behind the automation interface's "frames" op: how often a widget (a device
// page's picture) is actually painted, and the longest stretch without a paint. It is an event
// filter the automation code installs on the widget the first time it is asked; the widget owns
// it, and the device classes know nothing of it.

#include <QElapsedTimer>
#include <QObject>

class QWidget;

namespace vorlin {

class PaintCounter : public QObject {
  Q_OBJECT

 public:
  struct Sample {
    // Paint events the widget received in the interval.
    int frames = 0;
    // The longest stretch of the interval without a paint: from its start to the first paint,
    // between two paints, or from the last paint to its end (the whole interval without any).
    double maxGapMs = 0;
    double elapsedMs = 0;
  };

  // The counter watching `widget`, installed (and its interval started) on the first call.
  static PaintCounter* Of(QWidget* widget);
  // Whether `widget` already has a counter.
  static bool Installed(const QWidget* widget);

  // The paints since the previous Take (or since the counter was installed); starts a new interval.
  Sample Take();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit PaintCounter(QWidget* widget);

  QElapsedTimer clock_;
  qint64 interval_start_ns_ = 0;
  qint64 last_paint_ns_ = 0;
  qint64 max_gap_ns_ = 0;
  int frames_ = 0;
};

}  // namespace vorlin
