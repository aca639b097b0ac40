#pragma once

// The HID report descriptors the emulated devices present, as a real device of each kind would.
//
// Mouse, keyboard, mouse pad and the receivers, USB interface 1, four top-level collections (their
// 1-based positions are the collection numbers of the interface's paths):
//   1  Generic Desktop / Keyboard, report id 1: modifier bits, a reserved byte and six key usages
//      in; five LED bits out
//   2  Generic Desktop / System Control, report id 2: power, sleep and wake-up bits in
//   3  Consumer / Consumer Control, report id 3: one 16-bit usage array covering 0x0000-0x1FFF in.
//      The device's event codes (0x0401, 0x1123, 0x0512 ...) travel here as consumer usages.
//   4  Vendor page 0xFF1C / usage 0x92, report id 4: 63 bytes in and 63 bytes out, the command
//      reports
// Interface 0 of the mouse and the keyboard is a plain boot mouse or boot keyboard without report
// ids.
//
// Headset, USB interface 3, one top-level collection Consumer / Consumer Control carrying report
// id 4 (63 bytes in and out, the command reports) and report id 0xFF (16 bytes out, the lighting
// report).

#include <cstdint>
#include <vector>

namespace vorlin {

inline constexpr uint8_t kKeyboardReportId = 1;
inline constexpr uint8_t kSystemControlReportId = 2;
inline constexpr uint8_t kEventReportId = 3;
inline constexpr int kCommandCollection = 4;  // position of the command collection on interface 1
inline constexpr int kEventCollection = 3;    // position of the event collection on interface 1

std::vector<uint8_t> VendorInterfaceDescriptor();
std::vector<uint8_t> BootMouseDescriptor();
std::vector<uint8_t> BootKeyboardDescriptor();
std::vector<uint8_t> HeadsetDescriptor();

// The input report that carries event code `code` on the event collection: 03, low byte, high byte.
std::vector<uint8_t> EventReport(uint16_t code);

}  // namespace vorlin
