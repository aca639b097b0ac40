#pragma once

#include <vector>

#include "profiles/basic_profile_data.h"
#include "profiles/device_settings.h"

namespace vorlin {

// The keyboard's profile data: system settings and the colours of the custom light groups.
class CKeyboardProfiledata : public CBasicProfiledata {
 public:
  // "SystemStages"; all zero when the entry has none.
  KeyboardSystemSettings GetKeyboardSettings();
  // Repeat | RepeatDelay << 16, Key6Flag | PollingRate << 16, WFlag | WinFlag << 16.
  void SetKeyboardSettings(uint32_t word0, uint32_t word1, uint32_t word2);
  void SetKeyboardSettings(const KeyboardSystemSettings& settings);

  // The colours of `count` keys of custom group `group`. A key without a colour object reads
  // as zero and gets a zero colour object in the entry, so the group is complete at the next
  // Save. A group or count outside 0..kMaxListIndex gives an empty list.
  std::vector<CustomLightColor> GetCustomLightColors(int group, int count);
  void SetCustomLightColors(const std::vector<CustomLightColor>& colors, int group);
  int GetCustomGroupIndex();
  void SetCustomGroupIndex(int index);

 private:
  KeyboardSystemSettings keyboard_settings_;
  std::vector<CustomLightColor> custom_colors_;
  int custom_group_index_ = 0;
};

}  // namespace vorlin
