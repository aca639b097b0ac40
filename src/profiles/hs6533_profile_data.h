#pragma once

#include <string>
#include <vector>

#include "profiles/basic_profile_data.h"
#include "profiles/device_settings.h"

namespace vorlin {

// The headset's profile data: system settings and the equaliser presets.
class CHs6533Profiledata : public CBasicProfiledata {
 public:
  // Built-in presets are numbered 1-12; 13 is the custom preset, which has no built-in values,
  // and 0 or any other number addresses preset 1.
  static constexpr int kCustomPreset = 13;

  // "SystemSetStages"; all zero when the entry has none.
  HeadsetSystemSettings GetHeadsetSettings();
  void SetHeadsetSettings(const HeadsetSystemSettings& settings);

  // The ten band gains of built-in preset `preset` ("EQHzValueInfo"). Empty for preset 13.
  // Missing bands read as 0 and are added to the entry as {"value": 0}.
  std::vector<int> GetPresetValues(int preset);
  // Preset 13 writes nothing.
  void SetPresetValues(int preset, const EqBands& values);

  // "Name" of every "CustomEQNameInfo" element (UTF-8).
  std::vector<std::string> GetCustomPresetNames();
  // Replaces "CustomEQNameInfo" whole.
  void SetCustomPresetNames(const std::vector<std::string>& names);

  // The ten band gains of custom preset `index` ("CustomEQHzValueInfo"), completed like the
  // built-in ones. Empty for an index outside 0..kMaxListIndex - 1.
  std::vector<int> GetCustomPresetValues(int index);
  void SetCustomPresetValues(int index, const EqBands& values);

  // The built-in preset a preset number addresses, or -1 for the custom preset.
  static int BuiltInPresetIndex(int preset);

 private:
  std::vector<int> ReadBands(const char* key, int index);
  void WriteBands(const char* key, int index, const EqBands& values);

  HeadsetSystemSettings headset_settings_;
};

}  // namespace vorlin
