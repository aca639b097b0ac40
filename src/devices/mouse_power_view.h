#pragma once

// What the power panel of a device shows for its 6-byte status record:
//
//   byte 0  battery level in percent
//   byte 1  power state: 0 charged, 1 charging, 2 on battery
//   byte 3  the program's own connection flag (1 through the receiver, 0 by cable)
//   byte 5  paired phone type (panels of kind 3): 1 iPhone, 2 Samsung, 3 other, else none
//
// Pure; the device object puts the view on the panel's controls.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vorlin {

inline constexpr size_t kPowerStatusSize = 6;

struct PowerPanelView {
  std::string value_text;                  // "device_power_value": level + "%"
  int progress = 0;                        // "device_Power_progress": 100 - level
  std::optional<bool> wireless_logo;       // "device_wuxian_logo" (panel kinds 1 and 2)
  std::optional<bool> progress_visible;    // unchanged when nullopt
  std::optional<std::string> status_image; // "device_power_status"
  std::optional<std::string> phone_text;   // "device_phone_type" (panel kind 3): text key
  std::optional<std::string> phone_image;
  bool operator==(const PowerPanelView&) const = default;
};

// `logo_shown`: whether "device_wuxian_logo" is shown before the record is applied (a charging
// device shows its progress bar only while the logo is hidden).
PowerPanelView BuildPowerPanelView(std::span<const uint8_t, kPowerStatusSize> status,
                                   int panel_kind, bool logo_shown);

}  // namespace vorlin
