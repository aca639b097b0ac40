#pragma once

// Input capture from the program's own window, for systems where the input devices cannot be
// read. It sees only what the desktop gives the window while it has the focus, so the panel tells
// the user that capture is limited to this window.
//
// An application event filter watches the window's native window, through which every key and
// mouse event of the window passes exactly once before it is dispatched to a widget. Keys are
// reported and kept from the widgets, as the device capture keeps them from other programs; the
// lock keys need no pass-through here, because the desktop has already applied them (and set the
// LEDs) before the window receives them. Mouse events are reported and go on to the widgets, so
// the window's buttons keep working.

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QWidget>

#include "input/input_source.h"

namespace vorlin {

class WindowInputSource : public QObject, public InputSource {
  Q_OBJECT

 public:
  explicit WindowInputSource(QWidget* window);
  ~WindowInputSource() override;

  // kUnavailable without a window.
  StartResult Start(const CaptureRequest& request, InputSink sink) override;
  void Stop() override;
  bool Running() const override { return running_; }
  bool LimitedToWindow() const override { return true; }
  std::string_view Name() const override { return "window"; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool IsOurWindow(QObject* watched) const;
  bool HandleKey(QEvent* event);
  void HandleMouse(QEvent* event);

  QPointer<QWidget> window_;
  bool running_ = false;
  CaptureRequest request_;
  InputSink sink_;
  QPointF last_pointer_;
  bool has_last_pointer_ = false;
};

}  // namespace vorlin
