#pragma once

// The seam between the input capture and where input comes from. A source reports every key and
// mouse event it sees as a (message, data) pair: the keyboard or mouse message code with the data
// of a low-level keyboard or mouse record. Two real sources exist: the input devices themselves
// (evdev_input_source.h), and, where those cannot be read, the program's own window
// (input_qt/window_input_source.h).

#include <cstdint>
#include <functional>
#include <string_view>

namespace vorlin {

// A key event: virtual-key code, scan code and flags (kKeyFlagExtended, kKeyFlagUp) as the
// keyboard key table records keys, and the event's time in milliseconds.
struct KeyboardHookData {
  uint32_t vk_code = 0;
  uint32_t scan_code = 0;
  uint32_t flags = 0;
  uint32_t time = 0;
};

// A mouse event: the pointer in screen coordinates (when the source knows it), the mouse data
// word (X button number or wheel delta in its high 16 bits), the relative motion of a move, and
// the event's time in milliseconds.
struct MouseHookData {
  int32_t x = 0;
  int32_t y = 0;
  bool has_point = false;
  uint32_t mouse_data = 0;
  int32_t dx = 0;
  int32_t dy = 0;
  uint32_t time = 0;
};

struct InputEvent {
  enum class Device { kKeyboard, kMouse };
  Device device = Device::kKeyboard;
  uint32_t message = 0;  // kWmKeyDown ... (keyboard), kWmLButtonDown ... (mouse)
  KeyboardHookData keyboard;
  MouseHookData mouse;
};

// Receives events on the thread that started the source (the UI thread).
using InputSink = std::function<void(const InputEvent&)>;

struct CaptureRequest {
  bool keyboard = true;        // report keys, and keep them from other programs
  bool mouse = true;           // report mouse buttons and wheel
  bool pointer_moves = false;  // also report pointer moves (many per second)
};

class InputSource {
 public:
  enum class StartResult { kStarted, kUnavailable };

  virtual ~InputSource() = default;

  // Starts reporting to `sink`, replacing a running capture. kUnavailable when this source cannot
  // deliver what is asked for; nothing runs then.
  virtual StartResult Start(const CaptureRequest& request, InputSink sink) = 0;
  // Ends the capture; once it returns, the sink is never called again for it.
  virtual void Stop() = 0;
  virtual bool Running() const = 0;
  // Whether only the program's own window is seen (the panel shows a tip then).
  virtual bool LimitedToWindow() const = 0;
  // For the log.
  virtual std::string_view Name() const = 0;
};

}  // namespace vorlin
