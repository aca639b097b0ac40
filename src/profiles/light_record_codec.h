#pragma once

#include <json/value.h>

#include <vector>

#include "profiles/light_records.h"

namespace vorlin {

// Conversions between the lighting objects of the documents and their records. Readers accept
// any value: a missing or wrong-shaped key reads as 0.

// "LightInfo": eleven keys; bytes 8-10 always read as 0 and are never written.
LightSettings ReadLightInfo(const Json::Value& info);
void WriteLightInfo(const LightSettings& settings, Json::Value& info);

// "AudioLightInfo": nine keys.
AudioLightSettings ReadAudioLightInfo(const Json::Value& info);
void WriteAudioLightInfo(const AudioLightSettings& settings, Json::Value& info);

// "LightList": one entry per element; anything but an object is an empty slot.
LightListEntry ReadLightListEntry(const Json::Value& element);
std::vector<LightListEntry> ReadLightList(const Json::Value& list);

// A light effect file: the steps of its "LEDEffectList".
LightEffectStep ReadLightEffectStep(const Json::Value& step);
std::vector<LightEffectStep> ReadLightEffectSteps(const Json::Value& effect_document);

// A key colour of a custom group.
CustomLightColor ReadCustomLightColor(const Json::Value& color);
Json::Value CustomLightColorObject(const CustomLightColor& color);

}  // namespace vorlin
