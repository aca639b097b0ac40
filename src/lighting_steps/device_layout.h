#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vorlin {

// The devices whose lighting worker runs the steps of this folder (the keyboard has effects of
// its own and only borrows the base steps).
enum class LightingDevice : uint8_t { kMouse, kMousePad, kHeadset };

// LEDs that show one colour and level together: a mouse column, or a ripple pair.
struct LedGroup {
  std::array<uint16_t, 3> leds{};
  uint8_t count = 0;
};

// Which key cell leads a ripple or sweep running backward (direction 0): the one whose glow
// decides whether a group keeps the colour it already shows.
enum class BackwardLead : uint8_t {
  kLastEntry,   // key cell n - 1, n the number of frame entries (mouse pad, headset)
  kLastColumn,  // key cell 6, the last of the seven groups (mouse)
};

// How one device lays its LEDs out for the wave, ripple and sweep steps.
struct DeviceLightingLayout {
  // Wave with multicolour: LED group i shows wheel[(position + start + stride * i) mod 192].
  uint8_t wave_start = 0;
  uint8_t wave_stride = 0;
  // Wave in one colour: the position moves `wave_step` places of the 96-place wave curve per call
  // and group i takes its level from wave[(position + start + stride * i) mod 96].
  uint8_t wave_step = 1;
  uint8_t wave_single_start = 0;
  uint8_t wave_single_stride = 0;
  // Groups of the wave and sweep steps; empty means every LED of the frame by itself.
  std::span<const LedGroup> columns;
  // The seven groups of the ripple step, group i lit by key cell i.
  std::span<const LedGroup> ripple_groups;
  BackwardLead backward_lead = BackwardLead::kLastEntry;
};

const DeviceLightingLayout& LightingLayout(LightingDevice device);

// The groups the wave and sweep steps walk for a frame of `entries` LEDs.
size_t GroupCount(const DeviceLightingLayout& layout, size_t entries);
LedGroup GroupAt(const DeviceLightingLayout& layout, size_t index);

}  // namespace vorlin
