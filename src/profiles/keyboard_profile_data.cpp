#include "profiles/keyboard_profile_data.h"

#include "profiles/json_access.h"
#include "profiles/light_record_codec.h"
#include "profiles/settings_record_codec.h"

namespace vorlin {
namespace {

bool IsListIndex(int value) {
  return value >= 0 && value < CBasicProfiledata::kMaxListIndex;
}

}  // namespace

KeyboardSystemSettings CKeyboardProfiledata::GetKeyboardSettings() {
  keyboard_settings_ = ReadKeyboardSettings(Member(entry_value(), "SystemStages"));
  return keyboard_settings_;
}

void CKeyboardProfiledata::SetKeyboardSettings(uint32_t word0, uint32_t word1, uint32_t word2) {
  SetKeyboardSettings(KeyboardSettingsFromWords(word0, word1, word2));
}

void CKeyboardProfiledata::SetKeyboardSettings(const KeyboardSystemSettings& settings) {
  keyboard_settings_ = settings;
  WriteKeyboardSettings(settings, MutableMember(entry(), "SystemStages"));
}

std::vector<CustomLightColor> CKeyboardProfiledata::GetCustomLightColors(int group, int count) {
  std::vector<CustomLightColor> colors;
  if (!IsListIndex(group) || count < 0 || count > kMaxListIndex) return colors;
  const auto g = static_cast<Json::ArrayIndex>(group);
  for (Json::ArrayIndex j = 0; j < static_cast<Json::ArrayIndex>(count); ++j) {
    const Json::Value& color =
        Element(Element(Member(Member(entry_value(), "CustomLightMode"), "LightColorInfo"), g), j);
    if (color.isObject()) {
      colors.push_back(ReadCustomLightColor(color));
      continue;
    }
    colors.push_back(CustomLightColor{});
    Json::Value& groups =
        MutableMember(MutableMember(entry(), "CustomLightMode"), "LightColorInfo");
    MutableElement(MutableElement(groups, g), j) = CustomLightColorObject(CustomLightColor{});
  }
  custom_colors_ = colors;
  return colors;
}

void CKeyboardProfiledata::SetCustomLightColors(const std::vector<CustomLightColor>& colors,
                                                int group) {
  custom_colors_ = colors;
  if (!IsListIndex(group)) return;
  Json::Value& groups = MutableMember(MutableMember(entry(), "CustomLightMode"), "LightColorInfo");
  Json::Value& keys = MutableElement(groups, static_cast<Json::ArrayIndex>(group));
  for (Json::ArrayIndex i = 0; i < colors.size(); ++i)
    MutableElement(keys, i) = CustomLightColorObject(colors[i]);
}

int CKeyboardProfiledata::GetCustomGroupIndex() {
  custom_group_index_ =
      ReadInt(Member(entry_value(), "CustomLightMode"), "CustomLightModeGroupIndex");
  return custom_group_index_;
}

void CKeyboardProfiledata::SetCustomGroupIndex(int index) {
  custom_group_index_ = index;
  MutableMember(MutableMember(entry(), "CustomLightMode"), "CustomLightModeGroupIndex") = index;
}

}  // namespace vorlin
