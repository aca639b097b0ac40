#pragma once

// CDeviceHook: the main window's input capture. While a panel records a macro or captures the
// key to assign, it reports every key and mouse button event to the main window as a hook message
// of the capture's mode, and keeps the keys from reaching other programs.
//
// Input comes from an InputSource: the input devices when the program may read them, otherwise
// its own window (then only input that reaches the window is seen; LimitedToWindow tells the panel
// so). Events reach the target on the UI thread. Nothing arrives after Stop, not even an event
// read just before it.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "input/hook_messages.h"
#include "input/input_source.h"

namespace vorlin {

// One reported event: the hook message it is reported as, with the keyboard or mouse message and
// its data.
struct HookEvent {
  HookMessage message;
  bool keyboard = true;  // which of the two data records applies
  uint32_t wparam = 0;   // kWmKeyDown ... or kWmLButtonDown ...
  KeyboardHookData key;
  MouseHookData mouse;
};

class CDeviceHook {
 public:
  // The main window's handler of hook messages.
  using Target = std::function<void(const HookEvent&)>;
  // The pointer in screen coordinates, for sources that do not know it (the input devices report
  // motion only).
  using PointerPosition = std::function<std::optional<std::pair<int, int>>()>;

  // `devices` is tried first; `window` serves when it is unavailable. Either may be null.
  CDeviceHook(std::unique_ptr<InputSource> devices, std::unique_ptr<InputSource> window);
  ~CDeviceHook();  // stops
  CDeviceHook(const CDeviceHook&) = delete;
  CDeviceHook& operator=(const CDeviceHook&) = delete;

  void SetPointerPosition(PointerPosition position) { pointer_position_ = std::move(position); }

  // Replaces a running capture with one in `mode` reporting to `target`: keys when `keyboard`,
  // mouse buttons when `mouse`. 1, or 0 when keys are wanted and no source can capture them
  // (nothing runs then).
  int Start(intptr_t value, int mode, Target target, bool keyboard, bool mouse);
  // 1 when a key capture was running, else 0.
  int Stop();

  // The main window's private message kHookControlMessage: 1 starts key capture for `target`
  // (mode 1, keys and mouse, value 0), 0 stops.
  void HandleControlMessage(uintptr_t wparam, Target target);

  bool Running() const { return active_ != nullptr; }
  int Mode() const { return mode_; }
  intptr_t Value() const { return value_; }
  // Whether the running capture sees only the program's own window.
  bool LimitedToWindow() const { return active_ && active_->LimitedToWindow(); }

 private:
  void Deliver(uint64_t run, const InputEvent& event);

  std::unique_ptr<InputSource> devices_;
  std::unique_ptr<InputSource> window_;
  InputSource* active_ = nullptr;
  bool keys_installed_ = false;
  bool told_window_only_ = false;
  uint64_t run_ = 0;  // counts captures; an event of an earlier one is dropped
  int mode_ = 0;
  intptr_t value_ = 0;
  Target target_;
  PointerPosition pointer_position_;
};

}  // namespace vorlin
