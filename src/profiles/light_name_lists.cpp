#include "profiles/light_name_lists.h"

#include "profiles/json_access.h"
#include "profiles/profile_folders.h"

namespace vorlin {
namespace {

const Json::Value* ListOf(const Json::Value& document, const char* key,
                          Json::ArrayIndex light_index) {
  const Json::Value& list = Element(Member(document, key), light_index);
  return list.isArray() ? &list : nullptr;
}

std::optional<std::vector<std::string>> ReadNames(const Json::Value& document, const char* key,
                                                  Json::ArrayIndex light_index) {
  const Json::Value* list = ListOf(document, key, light_index);
  if (list == nullptr) return std::nullopt;
  std::vector<std::string> names;
  names.reserve(list->size());
  for (const Json::Value& item : *list) names.push_back(ReadString(item, "LightName"));
  return names;
}

}  // namespace

std::optional<std::vector<LightModeName>> ReadDefaultLightNames(const Json::Value& document,
                                                                Json::ArrayIndex light_index) {
  const Json::Value* list = ListOf(document, "DefaultLightName", light_index);
  if (list == nullptr) return std::nullopt;
  std::vector<LightModeName> modes;
  modes.reserve(list->size());
  for (const Json::Value& item : *list) {
    modes.push_back(
        {ReadString(item, "LightName"), ReadBool(item, "visible"), ReadInt(item, "value")});
  }
  return modes;
}

std::optional<std::vector<std::string>> ReadAreaLightNames(const Json::Value& document,
                                                           Json::ArrayIndex light_index) {
  return ReadNames(document, "AreaLightName", light_index);
}

std::optional<std::vector<std::string>> ReadCustomLightNames(const Json::Value& config,
                                                             Json::ArrayIndex light_index) {
  return ReadNames(config, "LightInfo", light_index);
}

std::string CustomEffectGuid(const Json::Value& config, Json::ArrayIndex index,
                             Json::ArrayIndex position) {
  return ReadString(Element(Element(Member(config, "LightInfo"), index), position), "Guid");
}

std::optional<Json::ArrayIndex> CustomEffectPosition(int effect_number,
                                                     const std::vector<LightModeName>& builtin) {
  if (effect_number < 0) return std::nullopt;
  const auto number = static_cast<size_t>(effect_number);
  if (number >= builtin.size()) return static_cast<Json::ArrayIndex>(number - builtin.size());
  if (builtin[number].name.rfind("light_mode_user_sequence", 0) == 0) return 0;
  return std::nullopt;
}

std::string LightEffectFileName(const std::string& guid) {
  // A custom-effect entry without a Guid (a built-in effect's place) has no file at all.
  if (guid.empty()) return std::string();
  std::string name = guid + ".light";
  return IsPlainFileName(name) ? name : std::string();
}

}  // namespace vorlin
