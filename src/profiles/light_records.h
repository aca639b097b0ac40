#pragma once

#include <array>
#include <cstdint>

namespace vorlin {

// The lighting setting of a device as the pages hand it around: three 32-bit words and a
// half-word. Byte n of the setting is byte (n % 4) of word (n / 4), little-endian.
struct LightWords {
  uint32_t word0 = 0;
  uint32_t word1 = 0;
  uint32_t word2 = 0;
  uint16_t word3 = 0;
  bool operator==(const LightWords&) const = default;
};

// "LightInfo" of a device entry, byte for byte the light words.
struct LightSettings {
  uint8_t mode = 0;                 // 0 "SelectItem": index into the page's mode list
  uint8_t brightness = 0;           // 1 "Light"
  uint8_t speed = 0;                // 2 "Speed"
  uint8_t direction = 0;            // 3 "Fx"
  uint8_t multi_color = 0;          // 4 "MultiColor" (a flag)
  uint8_t red = 0;                  // 5 "Red"
  uint8_t green = 0;                // 6 "Green"
  uint8_t blue = 0;                 // 7 "Blue"
  std::array<uint8_t, 3> unused{};  // 8-10: travel in the words, never stored
  uint8_t sync_mode = 0;            // 11 "ZZCCLedMode"
  uint8_t custom_group = 0;         // 12 "CustomGroup"
  uint8_t old_mode = 0;             // 13 "OldLedmode"
  bool operator==(const LightSettings&) const = default;
};
static_assert(sizeof(LightSettings) == 14);

LightSettings LightSettingsFromWords(const LightWords& words);
LightWords LightSettingsToWords(const LightSettings& settings);

// "AudioLightInfo": the settings of the sound-driven lighting.
struct AudioLightSettings {
  uint8_t audio_mode = 0;   // 0 "AudioMode"
  uint8_t bk_red = 0;       // 1 "BkColorR"
  uint8_t bk_green = 0;     // 2 "BkColorG"
  uint8_t bk_blue = 0;      // 3 "BkColorB"
  uint8_t fg_red = 0;       // 4 "FgColorR"
  uint8_t fg_green = 0;     // 5 "FgColorG"
  uint8_t fg_blue = 0;      // 6 "FgColorB"
  uint8_t multi_color = 0;  // 7 "7ColorFlags" (a flag)
  uint8_t color_side = 0;   // 8 "ColorTypeFlags": 0 background, 1 foreground
  bool operator==(const AudioLightSettings&) const = default;
};
static_assert(sizeof(AudioLightSettings) == 9);

// The three words are bytes 0-3, bytes 4-7 and byte 8 in the low byte of the third.
AudioLightSettings AudioLightSettingsFromWords(uint32_t word0, uint32_t word1, uint32_t word2);
std::array<uint32_t, 3> AudioLightSettingsToWords(const AudioLightSettings& settings);

// One element of "LightList": a per-key overlay, or an empty slot (a null element).
struct LightListEntry {
  uint8_t mode = 0;         // "LEDREGMode"
  uint8_t brightness = 0;   // "LEDBrightness"
  uint8_t speed = 0;        // "LEDSpeed"
  uint8_t direction = 0;    // "LEDDirection" (a flag)
  uint8_t multi_color = 0;  // "LEDMultiColor" (a flag)
  uint8_t red = 0;          // "red"
  uint8_t green = 0;        // "green"
  uint8_t blue = 0;         // "blue"
  uint8_t present = 0;      // 1 for an object element, 0 for an empty slot
  bool operator==(const LightListEntry&) const = default;
};

// One step of a custom light effect file ("LEDEffectList").
struct LightEffectStep {
  uint8_t mode = 0;         // "LEDREGMode"
  uint8_t brightness = 0;   // "LEDBrightness"
  uint8_t speed = 0;        // "LEDSpeed"
  uint8_t direction = 0;    // "LEDDirection"
  uint8_t multi_color = 0;  // "LEDMultiColor"
  uint8_t red = 0;          // "red"
  uint8_t green = 0;        // "green"
  uint8_t blue = 0;         // "blue"
  std::array<uint8_t, 8> unused{};
  int32_t time = 0;   // "Time"
  int32_t cycle = 0;  // "Cyle"
  bool operator==(const LightEffectStep&) const = default;
};
static_assert(sizeof(LightEffectStep) == 24);

// One key colour of a keyboard custom group ("LightColorInfo"[group][key]).
struct CustomLightColor {
  uint8_t red = 0;    // "Red"
  uint8_t green = 0;  // "Green"
  uint8_t blue = 0;   // "Blue"
  uint8_t alpha = 0;  // "Alpha"
  bool operator==(const CustomLightColor&) const = default;
};
static_assert(sizeof(CustomLightColor) == 4);

}  // namespace vorlin
