#pragma once

// Keeps the mouse wheel from changing controls the user is only scrolling past. A combo box,
// slider or spin box takes the wheel only while it has the keyboard focus (a click or Tab gives it
// the focus); otherwise the wheel goes on to the page around it, which scrolls. Every change of
// such a control reaches a device at once, so one notch while scrolling must not change an effect
// or a button's function.
//
// One guard watches the whole application (an event filter on it).

#include <QObject>

namespace vorlin {

class WheelGuard : public QObject {
  Q_OBJECT

 public:
  // Watches every widget of `application` from now on, until the guard goes.
  explicit WheelGuard(QObject* application);

  // Whether `widget` is a control that changes its value under the wheel.
  static bool TakesWheel(const QObject* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vorlin
