#include "input/device_hook.h"

#include "platform/log.h"

namespace vorlin {

CDeviceHook::CDeviceHook(std::unique_ptr<InputSource> devices, std::unique_ptr<InputSource> window)
    : devices_(std::move(devices)), window_(std::move(window)) {}

CDeviceHook::~CDeviceHook() {
  Stop();
}

int CDeviceHook::Start(intptr_t value, int mode, Target target, bool keyboard, bool mouse) {
  Stop();
  if (keyboard || mouse) {
    const CaptureRequest request{keyboard, mouse, false};
    const uint64_t run = ++run_;
    const auto sink = [this, run](const InputEvent& event) { Deliver(run, event); };
    if (devices_ && devices_->Start(request, sink) == InputSource::StartResult::kStarted) {
      active_ = devices_.get();
    } else if (window_ && window_->Start(request, sink) == InputSource::StartResult::kStarted) {
      active_ = window_.get();
      if (!told_window_only_) {
        told_window_only_ = true;
        qCInfo(lcVorlin).noquote()
            << "input capture limited to this window: the input devices cannot be read";
      }
    } else if (keyboard) {
      return 0;
    }
    keys_installed_ = keyboard && active_;
  }
  value_ = value;
  mode_ = mode;
  target_ = std::move(target);
  return 1;
}

int CDeviceHook::Stop() {
  const int result = keys_installed_ ? 1 : 0;
  if (active_) active_->Stop();
  active_ = nullptr;
  keys_installed_ = false;
  ++run_;
  return result;
}

void CDeviceHook::HandleControlMessage(uintptr_t wparam, Target target) {
  if (wparam == 1) {
    Start(0, kHookModeKeyCapture, std::move(target), true, true);
  } else if (wparam == 0) {
    Stop();
  }
}

void CDeviceHook::Deliver(uint64_t run, const InputEvent& event) {
  if (run != run_ || !active_ || !target_) return;
  HookEvent hook{};
  hook.wparam = event.message;
  if (event.device == InputEvent::Device::kKeyboard) {
    const auto message = KeyboardHookMessageOfMode(mode_);
    if (!message) return;
    hook.message = *message;
    hook.keyboard = true;
    hook.key = event.keyboard;
  } else {
    const auto message = MouseHookMessageOfMode(mode_);
    if (!message) return;
    hook.message = *message;
    hook.keyboard = false;
    hook.mouse = event.mouse;
    if (!hook.mouse.has_point && pointer_position_) {
      if (const auto point = pointer_position_()) {
        hook.mouse.x = point->first;
        hook.mouse.y = point->second;
        hook.mouse.has_point = true;
      }
    }
  }
  // Copied: the handler may stop or restart the capture, which replaces target_.
  const Target target = target_;
  target(hook);
}

}  // namespace vorlin
