#include "profiles/hs6533_profile_data.h"

#include "profiles/json_access.h"
#include "profiles/settings_record_codec.h"

namespace vorlin {
namespace {

Json::Value BandObject(int value) {
  Json::Value band(Json::objectValue);
  band["value"] = value;
  return band;
}

}  // namespace

HeadsetSystemSettings CHs6533Profiledata::GetHeadsetSettings() {
  headset_settings_ = ReadHeadsetSettings(Member(entry_value(), "SystemSetStages"));
  return headset_settings_;
}

void CHs6533Profiledata::SetHeadsetSettings(const HeadsetSystemSettings& settings) {
  headset_settings_ = settings;
  WriteHeadsetSettings(settings, MutableMember(entry(), "SystemSetStages"));
}

int CHs6533Profiledata::BuiltInPresetIndex(int preset) {
  if (preset == kCustomPreset) return -1;
  return preset >= 1 && preset <= 12 ? preset : 1;
}

std::vector<int> CHs6533Profiledata::ReadBands(const char* key, int index) {
  std::vector<int> bands;
  if (index < 0 || index >= kMaxListIndex) return bands;
  const auto preset = static_cast<Json::ArrayIndex>(index);
  for (Json::ArrayIndex band = 0; band < kEqBandCount; ++band) {
    const Json::Value& object = Element(Element(Member(entry_value(), key), preset), band);
    if (const std::optional<int> value = AsInt(Member(object, "value"));
        object.isObject() && value) {
      bands.push_back(*value);
      continue;
    }
    // A band without its object reads as 0 and is completed in the entry; one with a damaged
    // "value" reads as 0 too but is left for the next write of the preset.
    bands.push_back(0);
    if (!object.isObject())
      MutableElement(MutableElement(MutableMember(entry(), key), preset), band) = BandObject(0);
  }
  return bands;
}

void CHs6533Profiledata::WriteBands(const char* key, int index, const EqBands& values) {
  if (index < 0 || index >= kMaxListIndex) return;
  Json::Value& preset =
      MutableElement(MutableMember(entry(), key), static_cast<Json::ArrayIndex>(index));
  for (Json::ArrayIndex band = 0; band < kEqBandCount; ++band)
    MutableMember(MutableElement(preset, band), "value") = values[band];
}

std::vector<int> CHs6533Profiledata::GetPresetValues(int preset) {
  const int index = BuiltInPresetIndex(preset);
  if (index < 0) return {};
  return ReadBands("EQHzValueInfo", index);
}

void CHs6533Profiledata::SetPresetValues(int preset, const EqBands& values) {
  const int index = BuiltInPresetIndex(preset);
  if (index >= 0) WriteBands("EQHzValueInfo", index, values);
}

std::vector<std::string> CHs6533Profiledata::GetCustomPresetNames() {
  std::vector<std::string> names;
  const Json::Value& list = Member(entry_value(), "CustomEQNameInfo");
  if (!list.isArray()) return names;
  names.reserve(list.size());
  for (const Json::Value& element : list) names.push_back(ReadString(element, "Name"));
  return names;
}

void CHs6533Profiledata::SetCustomPresetNames(const std::vector<std::string>& names) {
  Json::Value list(Json::arrayValue);
  for (const std::string& name : names) {
    Json::Value element(Json::objectValue);
    element["Name"] = name;
    list.append(element);
  }
  MutableMember(entry(), "CustomEQNameInfo") = list;
}

std::vector<int> CHs6533Profiledata::GetCustomPresetValues(int index) {
  return ReadBands("CustomEQHzValueInfo", index);
}

void CHs6533Profiledata::SetCustomPresetValues(int index, const EqBands& values) {
  WriteBands("CustomEQHzValueInfo", index, values);
}

}  // namespace vorlin
