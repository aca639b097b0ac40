#include "input/input_event_mapping.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <cstdint>

#include "input/evdev_key_map.h"
#include "input/hook_messages.h"
#include "input/key_name_table.h"

namespace vorlin {
namespace {

// The virtual-key code a key row is reported with. The table keeps 0x101 for the numeric-pad
// Enter to tell it apart; the desktop reports it as Enter with the extended flag.
uint32_t VirtualKeyOfRow(int row) {
  const uint16_t vk = kKeyNameTable[static_cast<size_t>(row)].virtual_key;
  return vk == 0x101 ? 0x0D : vk;
}

MouseHookData ButtonData(uint16_t xbutton, uint32_t time_ms) {
  MouseHookData data;
  data.mouse_data = static_cast<uint32_t>(xbutton) << 16;
  data.time = time_ms;
  return data;
}

}  // namespace

std::optional<InputEvent> KeyEventOfScanCode(ScanCode scan, bool down, uint32_t time_ms) {
  const auto row = FindKeyboardKeyRow(scan);
  if (!row) return std::nullopt;
  InputEvent event;
  event.device = InputEvent::Device::kKeyboard;
  event.message = down ? kWmKeyDown : kWmKeyUp;
  event.keyboard.vk_code = VirtualKeyOfRow(*row);
  event.keyboard.scan_code = scan.code;
  event.keyboard.flags = (scan.extended ? kKeyFlagExtended : 0) | (down ? 0 : kKeyFlagUp);
  event.keyboard.time = time_ms;
  return event;
}

std::optional<InputEvent> KeyEventOfEvdev(uint16_t code, int32_t value, uint32_t time_ms) {
  if (value < 0 || value > 2) return std::nullopt;
  const auto scan = ScanCodeOfEvdevCode(code);
  if (!scan) return std::nullopt;
  return KeyEventOfScanCode(*scan, value != 0, time_ms);
}

std::optional<InputEvent> MouseButtonEventOfEvdev(uint16_t code, int32_t value, uint32_t time_ms) {
  if (value != 0 && value != 1) return std::nullopt;
  const bool down = value == 1;
  uint32_t message = 0;
  uint16_t xbutton = 0;
  switch (code) {
    case BTN_LEFT: message = down ? kWmLButtonDown : kWmLButtonUp; break;
    case BTN_RIGHT: message = down ? kWmRButtonDown : kWmRButtonUp; break;
    case BTN_MIDDLE: message = down ? kWmMButtonDown : kWmMButtonUp; break;
    // Mice name their thumb buttons either way: side/extra (most) or back/forward.
    case BTN_SIDE:
    case BTN_BACK:
      message = down ? kWmXButtonDown : kWmXButtonUp;
      xbutton = kXButtonBack;
      break;
    case BTN_EXTRA:
    case BTN_FORWARD:
      message = down ? kWmXButtonDown : kWmXButtonUp;
      xbutton = kXButtonForward;
      break;
    default: return std::nullopt;
  }
  InputEvent event;
  event.device = InputEvent::Device::kMouse;
  event.message = message;
  event.mouse = ButtonData(xbutton, time_ms);
  return event;
}

InputEvent MouseWheelEvent(bool horizontal, int32_t delta, uint32_t time_ms) {
  InputEvent event;
  event.device = InputEvent::Device::kMouse;
  event.message = horizontal ? kWmMouseHWheel : kWmMouseWheel;
  // The word holds 16 signed bits; a larger turn is reported as the largest one.
  const auto word = static_cast<int16_t>(std::clamp<int32_t>(delta, INT16_MIN, INT16_MAX));
  event.mouse.mouse_data = static_cast<uint32_t>(static_cast<uint16_t>(word)) << 16;
  event.mouse.time = time_ms;
  return event;
}

bool IsLockKeyCode(uint16_t code) {
  return code == KEY_CAPSLOCK || code == KEY_NUMLOCK || code == KEY_SCROLLLOCK;
}

bool IsMouseButtonCode(uint16_t code) {
  return code >= BTN_MOUSE && code < BTN_JOYSTICK;
}

}  // namespace vorlin
