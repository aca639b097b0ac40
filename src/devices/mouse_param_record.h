#pragma once

// MouseParamRecord: the mouse's 95-byte block of its parameter area as the program keeps it, and
// how it maps to and from the profile's settings. No device access here; the mouse's device
// object reads and writes the bytes. The area holds the current profile number at offset 0 and
// profile p's record at p x 128.
//
//   byte 0        profile number (the number read from offset 0; written as the caller's value)
//   byte 1        lighting effect code (effect number <-> code through the effect code list)
//   byte 2        brightness
//   byte 3        speed, stored as 4 - speed
//   byte 4        direction (written only)
//   byte 5        multicolour flag
//   bytes 6-8     red, green, blue
//   byte 9        cleared
//   byte 10       not interpreted, written back as read
//   byte 11       polling-rate stage
//   byte 12       current DPI stage
//   byte 13       lift-off distance (silent altitude)
//   bytes 14-67   six DPI stages of 9 bytes, stage i at 14 + 9i
//   bytes 68-91   not interpreted, written back as read
//   byte 92       motion sync
//   byte 93       linear calibration
//   byte 94       ripple control
//
// The kept copy holds the device's bytes: the last record read, or the last one written. Every
// write starts from it, so bytes the program does not interpret go back unchanged.
//
// Effect codes. A read maps the code to the position of the first equal entry of the effect
// code list; a code no entry equals is taken as the effect number itself. A write takes an effect
// number of 12 or more as 0 and sends its entry; an effect number with no entry (the custom
// effects, which only the page's preview plays) sends the code the mouse already holds, so the
// mouse keeps its own effect and is never sent a code the list does not name.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "profiles/device_settings.h"
#include "profiles/light_records.h"

namespace vorlin {

// The light state the mouse object keeps beside the light words: filled from the record on every
// read and from the profile by ApplyLighting; the preview reads it.
struct MouseLightState {
  uint8_t profile = 0;
  uint8_t effect = 0;  // effect number
  uint8_t brightness = 0;
  uint8_t speed = 0;
  uint8_t multi_color = 0;
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const MouseLightState&) const = default;
};

// The light settings with the lighting of `state` (effect, brightness, speed, multi-colour and
// colour) put in; the other bytes stay.
LightSettings WithMouseLightState(LightSettings settings, const MouseLightState& state);
// `state` with the lighting of `settings` put in; the profile number stays.
MouseLightState WithLightSettings(MouseLightState state, const LightSettings& settings);

// What a write takes from the profile.
struct MouseRecordSettings {
  LightSettings light;
  MouseSystemSettings system;
  int current_dpi_stage = 0;
  std::vector<DpiStage> dpi_stages;  // at most the first six are written
};

class MouseParamRecord {
 public:
  static constexpr size_t kSize = 95;
  static constexpr uint16_t kProfileStride = 128;
  static constexpr size_t kStageCount = 6;
  static constexpr size_t kStageOffset = 14;
  static constexpr uint8_t kSpeedBase = 4;
  static constexpr uint8_t kFirstUnknownEffect = 12;  // effect numbers from here count as 0

  using Bytes = std::array<uint8_t, kSize>;

  // Where profile p's record lies: p x 128, or nullopt when it would not fit the 16-bit
  // address space.
  static std::optional<uint16_t> Offset(int profile);

  // The effect code list, by effect number; entries outside 0-255 never match and are never sent.
  void SetEffectCodes(std::vector<int> codes) { codes_ = std::move(codes); }
  const std::vector<int>& EffectCodes() const { return codes_; }

  // Keeps a record read for `profile` (at least kSize bytes; a shorter one is refused and
  // changes nothing): byte 0 becomes the profile number, byte 9 becomes 0.
  bool TakeRead(std::span<const uint8_t> read, uint8_t profile);
  // The bytes to write: the kept copy with byte 0 = `value` and everything the profile holds.
  Bytes ForWrite(uint8_t value, const MouseRecordSettings& settings) const;
  // The mouse took `sent`: it becomes the kept copy.
  void NoteWritten(const Bytes& sent) { kept_ = sent; }

  // What the kept record says.
  MouseLightState LightState() const;
  uint8_t EffectNumber() const;
  // `settings` with the polling-rate stage, silent altitude, motion sync, linear calibration and
  // ripple control of the record; the other fields unchanged.
  MouseSystemSettings WithSystemSettings(MouseSystemSettings settings) const;
  std::vector<DpiStage> DpiStages() const;
  uint8_t CurrentDpiStage() const { return kept_[12]; }
  // A DPI-stage button on the mouse changed the current stage.
  void SetCurrentDpiStage(uint8_t stage) { kept_[12] = stage; }

  const Bytes& Kept() const { return kept_; }

 private:
  uint8_t CodeForWrite(uint8_t effect_number) const;

  Bytes kept_{};
  std::vector<int> codes_;
};

}  // namespace vorlin
