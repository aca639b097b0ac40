#pragma once

// PadParamRecord: the mouse pad's lighting record as the program keeps it, and how it maps to and
// from the pad's parameter area. No device access here; the pad's device object reads and writes
// the bytes.
//
// The parameter area holds the current profile number at offset 0 and one record per profile.
// Profile p is read as 34 bytes at p x 33 and written as 21 bytes at p x 64 (profile 0, the only
// one the program uses, is at offset 0 both ways). The program keeps the first 21 bytes:
//
//   byte 0      profile number      the number read from offset 0; written as kept
//   byte 1      effect              the pad's effect code on the device; the effect number (its
//                                   position in the effect code list) in the kept copy
//   byte 2      brightness
//   byte 3      speed               4 - speed on the device; the speed in the kept copy
//   byte 4      not interpreted     kept as read, written back unchanged
//   byte 5      multicolour flag
//   bytes 6-8   red, green, blue
//   bytes 9-20  not interpreted     kept as read, written back unchanged
//
// The speed is worked out modulo 256, so every device byte survives a read and a write: a byte 5,
// outside the pad's 0-4, is kept as speed 255 and written back as 5.
//
// Effect codes. The effect code list ("value" of the pad's modes in "default_light.json") gives
// the pad's code for each effect number. A read maps the code to the position of the first equal
// entry; a code no entry equals is kept raw. A write sends:
//   - a code kept raw by the last read as that same code, even when it happens to be a valid
//     position in the list (the pad is never switched to another effect by a read and a write);
//   - an effect number inside the list as its entry;
//   - an effect number beyond the list (the custom effects, which only the program's preview
//     plays) or whose entry is not a byte as the code the pad last held: the last code read from
//     it or written to it. The pad then keeps running the effect it has, and is never sent a code
//     that neither the list nor the pad itself named. Only before the pad has been read or written
//     at all does the number itself go out.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "profiles/light_records.h"

namespace vorlin {

class PadParamRecord {
 public:
  static constexpr size_t kSize = 21;       // kept and written
  static constexpr size_t kReadSize = 34;   // read
  static constexpr uint16_t kReadStride = 33;
  static constexpr uint16_t kWriteStride = 64;
  static constexpr uint8_t kSpeedBase = 4;  // the device stores 4 - speed

  using Bytes = std::array<uint8_t, kSize>;

  // Where profile p's record is read and written; nullopt when the record would not fit the
  // 16-bit address space (a negative or absurd profile number).
  static std::optional<uint16_t> ReadOffset(int profile);
  static std::optional<uint16_t> WriteOffset(int profile);

  // The effect code list, by effect number. Entries outside 0-255 never match a device byte and
  // are never sent.
  void SetEffectCodes(std::vector<int> codes) { codes_ = std::move(codes); }
  const std::vector<int>& EffectCodes() const { return codes_; }

  // Takes a record read from the device for `profile` (at least kSize bytes; a shorter one is
  // refused and changes nothing). Returns true when the kept bytes changed.
  bool TakeRead(std::span<const uint8_t> read, uint8_t profile);
  // The bytes to write: the kept copy with the effect code and the device's speed byte.
  Bytes ForWrite() const;
  // The pad took `sent` (a successful write): it now holds sent[1] as its effect code.
  void NoteWritten(const Bytes& sent) { pad_code_ = sent[1]; }

  // Fills the lighting bytes (1, 2, 3, 5, 6, 7, 8) from the profile's light settings; the effect
  // is then an effect number. The other bytes stay.
  void ApplyLightSettings(const LightSettings& settings);
  // `words` with effect, brightness, speed, multicolour flag and colour taken from the kept copy;
  // the direction and the third and fourth words stay.
  LightWords WithLighting(LightWords words) const;

  const Bytes& Kept() const { return kept_; }
  uint8_t Profile() const { return kept_[0]; }
  uint8_t Effect() const { return kept_[1]; }
  uint8_t Brightness() const { return kept_[2]; }
  uint8_t Speed() const { return kept_[3]; }
  uint8_t MultiColor() const { return kept_[5]; }
  // True while byte 1 holds a device code that the list does not name (left raw by a read).
  bool EffectIsRaw() const { return effect_raw_; }
  // The effect code the pad last held as far as the program knows (read or written).
  std::optional<uint8_t> PadCode() const { return pad_code_; }

 private:
  std::optional<uint8_t> NumberOfCode(uint8_t code) const;
  uint8_t CodeForWrite() const;

  Bytes kept_{};
  std::vector<int> codes_;
  bool effect_raw_ = false;
  std::optional<uint8_t> pad_code_;
};

}  // namespace vorlin
