#include "input_qt/window_input_source.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWindow>

#include "input/evdev_key_map.h"
#include "input/hook_messages.h"
#include "input/input_event_mapping.h"
#include "input_qt/window_key_map.h"

namespace vorlin {
namespace {

struct ButtonMessages {
  uint32_t down;
  uint32_t up;
  uint16_t xbutton;
};

std::optional<ButtonMessages> MessagesOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return ButtonMessages{kWmLButtonDown, kWmLButtonUp, 0};
    case Qt::RightButton: return ButtonMessages{kWmRButtonDown, kWmRButtonUp, 0};
    case Qt::MiddleButton: return ButtonMessages{kWmMButtonDown, kWmMButtonUp, 0};
    case Qt::BackButton: return ButtonMessages{kWmXButtonDown, kWmXButtonUp, kXButtonBack};
    case Qt::ForwardButton: return ButtonMessages{kWmXButtonDown, kWmXButtonUp, kXButtonForward};
    default: return std::nullopt;
  }
}

void SetPoint(MouseHookData& data, const QPointF& global) {
  const QPoint point = global.toPoint();
  data.x = point.x();
  data.y = point.y();
  data.has_point = true;
}

}  // namespace

WindowInputSource::WindowInputSource(QWidget* window) : window_(window) {}

WindowInputSource::~WindowInputSource() {
  Stop();
}

InputSource::StartResult WindowInputSource::Start(const CaptureRequest& request, InputSink sink) {
  Stop();
  if (!window_ || !qApp) return StartResult::kUnavailable;
  request_ = request;
  sink_ = std::move(sink);
  has_last_pointer_ = false;
  qApp->installEventFilter(this);
  running_ = true;
  return StartResult::kStarted;
}

void WindowInputSource::Stop() {
  if (!running_) return;
  if (qApp) qApp->removeEventFilter(this);
  running_ = false;
  sink_ = nullptr;
}

bool WindowInputSource::IsOurWindow(QObject* watched) const {
  if (!window_ || !watched->isWindowType()) return false;
  const QWidget* top = window_->window();
  return top && watched == top->windowHandle();
}

bool WindowInputSource::eventFilter(QObject* watched, QEvent* event) {
  if (!running_ || !IsOurWindow(watched)) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return HandleKey(event);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Wheel: HandleMouse(event); return false;
    default: return false;
  }
}

bool WindowInputSource::HandleKey(QEvent* event) {
  if (!request_.keyboard) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const auto code = EvdevCodeOfKeyEvent(*key, QGuiApplication::platformName());
  if (code) {
    const auto mapped =
        KeyEventOfEvdev(*code, event->type() == QEvent::KeyPress ? 1 : 0,
                        static_cast<uint32_t>(key->timestamp()));
    // A copy: the sink may stop the capture, which clears sink_.
    if (mapped && sink_) {
      const InputSink sink = sink_;
      sink(*mapped);
    }
  }
  return true;
}

void WindowInputSource::HandleMouse(QEvent* event) {
  if (!request_.mouse) return;
  InputEvent mapped;
  mapped.device = InputEvent::Device::kMouse;
  if (event->type() == QEvent::Wheel) {
    const auto* wheel = static_cast<QWheelEvent*>(event);
    const QPoint delta = wheel->angleDelta();
    if (delta.y() == 0 && delta.x() == 0) return;
    mapped = MouseWheelEvent(delta.y() == 0, delta.y() != 0 ? delta.y() : delta.x(),
                             static_cast<uint32_t>(wheel->timestamp()));
    SetPoint(mapped.mouse, wheel->globalPosition());
  } else {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF global = mouse->globalPosition();
    mapped.mouse.time = static_cast<uint32_t>(mouse->timestamp());
    SetPoint(mapped.mouse, global);
    if (event->type() == QEvent::MouseMove) {
      const QPointF last = has_last_pointer_ ? last_pointer_ : global;
      last_pointer_ = global;
      has_last_pointer_ = true;
      if (!request_.pointer_moves) return;
      mapped.message = kWmMouseMove;
      mapped.mouse.dx = static_cast<int32_t>(global.x() - last.x());
      mapped.mouse.dy = static_cast<int32_t>(global.y() - last.y());
    } else {
      const auto messages = MessagesOf(mouse->button());
      if (!messages) return;
      mapped.message = event->type() == QEvent::MouseButtonPress ? messages->down : messages->up;
      mapped.mouse.mouse_data = static_cast<uint32_t>(messages->xbutton) << 16;
    }
  }
  if (sink_) {
    const InputSink sink = sink_;  // the sink may stop the capture
    sink(mapped);
  }
}

}  // namespace vorlin
