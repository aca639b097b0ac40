#include "lighting_steps/device_layout.h"

namespace vorlin {
namespace {

// The mouse's seven columns of up to three LEDs, front to back.
constexpr std::array<LedGroup, 7> kMouseColumns{{{{0, 13, 0}, 2},
                                                 {{1, 12, 0}, 2},
                                                 {{2, 11, 0}, 2},
                                                 {{3, 10, 0}, 2},
                                                 {{4, 9, 0}, 2},
                                                 {{5, 8, 0}, 2},
                                                 {{6, 14, 7}, 3}}};

// The ripple's LED pairs on the strips of the mouse pad and the headset, from the ends inwards.
constexpr std::array<LedGroup, 7> kStripPairs{{{{1, 14, 0}, 2},
                                               {{2, 13, 0}, 2},
                                               {{3, 12, 0}, 2},
                                               {{4, 11, 0}, 2},
                                               {{5, 10, 0}, 2},
                                               {{6, 9, 0}, 2},
                                               {{7, 8, 0}, 2}}};

constexpr DeviceLightingLayout kMouseLayout{
    1, 7, 1, 1, 7, kMouseColumns, kMouseColumns, BackwardLead::kLastColumn};
constexpr DeviceLightingLayout kMousePadLayout{1, 7,  1,           1,
                                               7, {}, kStripPairs, BackwardLead::kLastEntry};
constexpr DeviceLightingLayout kHeadsetLayout{1,  16, 3,           0,
                                              10, {}, kStripPairs, BackwardLead::kLastEntry};

}  // namespace

const DeviceLightingLayout& LightingLayout(LightingDevice device) {
  switch (device) {
    case LightingDevice::kMouse:
      return kMouseLayout;
    case LightingDevice::kMousePad:
      return kMousePadLayout;
    case LightingDevice::kHeadset:
      return kHeadsetLayout;
  }
  return kMousePadLayout;
}

size_t GroupCount(const DeviceLightingLayout& layout, size_t entries) {
  return layout.columns.empty() ? entries : layout.columns.size();
}

LedGroup GroupAt(const DeviceLightingLayout& layout, size_t index) {
  if (!layout.columns.empty())
    return index < layout.columns.size() ? layout.columns[index] : LedGroup{};
  return LedGroup{{static_cast<uint16_t>(index), 0, 0}, 1};
}

}  // namespace vorlin
