#pragma once

// The Linux key code of a key event the window received, so that keys seen by the window map
// onto the keyboard key table exactly like keys read from the input devices.
//
// On X11 and Wayland the native scan code is the XKB key code, which is the Linux key code plus 8.
// Where the platform gives no native code (the offscreen platform, synthesised events) the Qt key
// stands in; it cannot tell left from right modifiers or the main keys from the number pad apart
// except through the keypad modifier and the native key symbol, so those fall back to the left or
// main key.

#include <cstdint>
#include <optional>

#include <QString>

class QKeyEvent;

namespace vorlin {

// From the native scan code on XKB platforms ("xcb", "wayland*"); none elsewhere or for 0.
std::optional<uint16_t> EvdevCodeOfNativeScanCode(uint32_t native_scan_code, const QString& platform);

// From the Qt key, its keypad modifier and the native key symbol (X11 keysyms tell right-hand
// modifiers apart).
std::optional<uint16_t> EvdevCodeOfQtKey(int key, bool keypad, uint32_t native_virtual_key);

// Both, in that order.
std::optional<uint16_t> EvdevCodeOfKeyEvent(const QKeyEvent& event, const QString& platform);

}  // namespace vorlin
