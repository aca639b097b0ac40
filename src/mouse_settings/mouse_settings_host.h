#pragma once

// What the mouse settings panel needs from the mouse's device page. The page owns the device
// object and its profile data; the panel only shows the values and changes them through here.

#include <cstdint>
#include <optional>
#include <vector>

#include "profiles/device_settings.h"

namespace vorlin {

class MouseSettingsHost {
 public:
  virtual ~MouseSettingsHost() = default;

  // The mouse's device information record as last read (34 bytes; all zero, or shorter, while
  // the mouse has not been read).
  virtual std::vector<uint8_t> DeviceInfo() const = 0;
  // The profile's DPI stages (possibly fewer than six) and its current stage.
  virtual std::vector<DpiStage> DpiStages() const = 0;
  virtual int CurrentDpiStage() const = 0;
  virtual MouseSystemSettings SystemSettings() const = 0;

  // Store into the profile data (not yet saved).
  virtual void StoreDpiStages(const std::vector<DpiStage>& stages) = 0;
  virtual void StoreCurrentDpiStage(int stage) = 0;
  virtual void StoreSystemSettings(const MouseSystemSettings& settings) = 0;

  // Saves the profile document.
  virtual void SaveProfile() = 0;
  // Sends the profile's settings to the mouse (the device's WriteParamRecord(0, 0)).
  virtual void WriteParamRecord() = 0;

  // Runs the colour window modally, starting from `current` (0xAARRGGBB); the chosen colour, or
  // nullopt when it was closed without a choice.
  virtual std::optional<uint32_t> ChooseColour(uint32_t current) = 0;
};

}  // namespace vorlin
