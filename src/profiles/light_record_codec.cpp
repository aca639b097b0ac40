#include "profiles/light_record_codec.h"

#include "profiles/json_access.h"

namespace vorlin {
namespace {

// Byte fields keep the low byte of what the document holds, as a byte record does.
uint8_t ReadByte(const Json::Value& object, const char* key) {
  return static_cast<uint8_t>(ReadInt(object, key));
}

uint8_t ReadFlag(const Json::Value& object, const char* key) {
  return ReadBool(object, key) ? 1 : 0;
}

}  // namespace

LightSettings ReadLightInfo(const Json::Value& info) {
  LightSettings s;
  s.mode = ReadByte(info, "SelectItem");
  s.brightness = ReadByte(info, "Light");
  s.speed = ReadByte(info, "Speed");
  s.direction = ReadByte(info, "Fx");
  s.multi_color = ReadFlag(info, "MultiColor");
  s.red = ReadByte(info, "Red");
  s.green = ReadByte(info, "Green");
  s.blue = ReadByte(info, "Blue");
  s.sync_mode = ReadByte(info, "ZZCCLedMode");
  s.custom_group = ReadByte(info, "CustomGroup");
  s.old_mode = ReadByte(info, "OldLedmode");
  return s;
}

void WriteLightInfo(const LightSettings& s, Json::Value& info) {
  MutableMember(info, "SelectItem") = s.mode;
  MutableMember(info, "Light") = s.brightness;
  MutableMember(info, "Speed") = s.speed;
  MutableMember(info, "Fx") = s.direction;
  MutableMember(info, "MultiColor") = s.multi_color;
  MutableMember(info, "Red") = s.red;
  MutableMember(info, "Green") = s.green;
  MutableMember(info, "Blue") = s.blue;
  MutableMember(info, "ZZCCLedMode") = s.sync_mode;
  MutableMember(info, "CustomGroup") = s.custom_group;
  MutableMember(info, "OldLedmode") = s.old_mode;
}

AudioLightSettings ReadAudioLightInfo(const Json::Value& info) {
  AudioLightSettings s;
  s.audio_mode = ReadByte(info, "AudioMode");
  s.bk_red = ReadByte(info, "BkColorR");
  s.bk_green = ReadByte(info, "BkColorG");
  s.bk_blue = ReadByte(info, "BkColorB");
  s.fg_red = ReadByte(info, "FgColorR");
  s.fg_green = ReadByte(info, "FgColorG");
  s.fg_blue = ReadByte(info, "FgColorB");
  s.multi_color = ReadFlag(info, "7ColorFlags");
  s.color_side = ReadFlag(info, "ColorTypeFlags");
  return s;
}

void WriteAudioLightInfo(const AudioLightSettings& s, Json::Value& info) {
  MutableMember(info, "AudioMode") = s.audio_mode;
  MutableMember(info, "BkColorR") = s.bk_red;
  MutableMember(info, "BkColorG") = s.bk_green;
  MutableMember(info, "BkColorB") = s.bk_blue;
  MutableMember(info, "FgColorR") = s.fg_red;
  MutableMember(info, "FgColorG") = s.fg_green;
  MutableMember(info, "FgColorB") = s.fg_blue;
  MutableMember(info, "7ColorFlags") = s.multi_color;
  MutableMember(info, "ColorTypeFlags") = s.color_side;
}

LightListEntry ReadLightListEntry(const Json::Value& element) {
  LightListEntry e;
  if (!element.isObject()) return e;
  e.mode = ReadByte(element, "LEDREGMode");
  e.brightness = ReadByte(element, "LEDBrightness");
  e.speed = ReadByte(element, "LEDSpeed");
  e.direction = ReadFlag(element, "LEDDirection");
  e.multi_color = ReadFlag(element, "LEDMultiColor");
  e.red = ReadByte(element, "red");
  e.green = ReadByte(element, "green");
  e.blue = ReadByte(element, "blue");
  e.present = 1;
  return e;
}

std::vector<LightListEntry> ReadLightList(const Json::Value& list) {
  std::vector<LightListEntry> entries;
  if (!list.isArray()) return entries;
  entries.reserve(list.size());
  for (const Json::Value& element : list) entries.push_back(ReadLightListEntry(element));
  return entries;
}

LightEffectStep ReadLightEffectStep(const Json::Value& step) {
  LightEffectStep s;
  s.mode = ReadByte(step, "LEDREGMode");
  s.brightness = ReadByte(step, "LEDBrightness");
  s.speed = ReadByte(step, "LEDSpeed");
  s.direction = ReadByte(step, "LEDDirection");
  s.multi_color = ReadByte(step, "LEDMultiColor");
  s.red = ReadByte(step, "red");
  s.green = ReadByte(step, "green");
  s.blue = ReadByte(step, "blue");
  s.time = ReadInt(step, "Time");
  s.cycle = ReadInt(step, "Cyle");
  return s;
}

std::vector<LightEffectStep> ReadLightEffectSteps(const Json::Value& effect_document) {
  std::vector<LightEffectStep> steps;
  const Json::Value& list = Member(effect_document, "LEDEffectList");
  if (!list.isArray()) return steps;
  steps.reserve(list.size());
  for (const Json::Value& step : list) steps.push_back(ReadLightEffectStep(step));
  return steps;
}

CustomLightColor ReadCustomLightColor(const Json::Value& color) {
  return {ReadByte(color, "Red"), ReadByte(color, "Green"), ReadByte(color, "Blue"),
          ReadByte(color, "Alpha")};
}

Json::Value CustomLightColorObject(const CustomLightColor& c) {
  Json::Value object(Json::objectValue);
  object["Red"] = c.red;
  object["Green"] = c.green;
  object["Blue"] = c.blue;
  object["Alpha"] = c.alpha;
  return object;
}

}  // namespace vorlin
