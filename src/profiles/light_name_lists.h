#pragma once

#include <json/value.h>

#include <optional>
#include <string>
#include <vector>

namespace vorlin {

// The read-only lighting documents that name effects: "default_light.json" (the built-in modes of
// each light index) and the light configuration "torva_light.config" (the custom effects). Light
// indices are 0 keyboard, 1 mouse, 2 mouse pad, 3 headset. Names are language keys.
//
//   default_light.json: { "DefaultLightName": [ [ {"LightName": key, "visible": 0|1,
//                                                  "value": effect code}, ... ], ... ],
//                         "AreaLightName":    [ [ {"LightName": key}, ... ], ... ] }
//   torva_light.config: { "LightInfo": [ [ {"Guid": id, "LightName": key}, ... ], ... ] }
//
// A list reads as nothing when the document has no array for the light index, so a page keeps
// the list it had; present arrays are read element by element, a wrong-shaped element giving an
// empty name, flag 0 or value 0.

struct LightModeName {
  std::string name;
  bool visible = false;
  int value = 0;  // the effect code the device understands
  bool operator==(const LightModeName&) const = default;
};

std::optional<std::vector<LightModeName>> ReadDefaultLightNames(const Json::Value& document,
                                                                Json::ArrayIndex light_index);
std::optional<std::vector<std::string>> ReadAreaLightNames(const Json::Value& document,
                                                           Json::ArrayIndex light_index);
std::optional<std::vector<std::string>> ReadCustomLightNames(const Json::Value& config,
                                                             Json::ArrayIndex light_index);

// The "Guid" of custom effect `position` of the configuration's list `index`; empty when absent.
std::string CustomEffectGuid(const Json::Value& config, Json::ArrayIndex index,
                             Json::ArrayIndex position);
// Which custom effect an effect number plays: the effects listed after the built-in ones are the
// custom effects in list order (effect number = built-in count + position); a built-in entry
// named "light_mode_user_sequence..." plays the first custom effect. nullopt for a built-in
// effect the device steps itself.
std::optional<Json::ArrayIndex> CustomEffectPosition(int effect_number,
                                                     const std::vector<LightModeName>& builtin);

// The name of the effect file of `guid`: guid + ".light", or empty when there is no Guid or when
// the name would not be a plain file name (a Guid with a folder in it could lead out of the
// folder).
std::string LightEffectFileName(const std::string& guid);

}  // namespace vorlin
