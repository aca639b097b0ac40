#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "lighting_steps/frame.h"
#include "profiles/light_records.h"

namespace vorlin {

// What an effect step reads from the light words: effect number, brightness index, speed index,
// direction, multicolour flag and colour.
struct EffectParams {
  uint8_t effect = 0;
  uint8_t brightness = 0;
  uint8_t speed = 0;
  uint8_t direction = 0;  // non-zero: forward
  bool multi_color = false;
  Rgb color;
  bool operator==(const EffectParams&) const = default;
};

// The light words as the profile keeps them (byte 0 effect number ... bytes 5-7 colour).
inline EffectParams EffectParamsFromLightSettings(const LightSettings& s) {
  return {s.mode,      s.brightness,       s.speed,
          s.direction, s.multi_color != 0, Rgb{s.red, s.green, s.blue}};
}

// The level factors of the moving effects: one key cell per key index and a row of column cells
// that the ripple and sweep effects push along. A cell read outside its row is 0 and a write
// outside is dropped.
struct EffectCells {
  static constexpr size_t kKeyCells = 170;
  static constexpr size_t kColumnCells = 23;
  std::array<uint8_t, kKeyCells> key{};
  std::array<uint8_t, kColumnCells> column{};

  uint8_t Key(size_t index) const { return index < key.size() ? key[index] : 0; }
  void SetKey(size_t index, uint8_t value) {
    if (index < key.size()) key[index] = value;
  }
  // ClearEffectState: every key cell and column cell back to 0.
  void Clear() {
    key.fill(0);
    column.fill(0);
  }
};

// The running state of one device's effect. It belongs to the thread that steps the effect; a
// device that restarts its effect from the UI thread asks that thread to do it (for instance with
// an atomic flag) rather than writing here.
struct EffectState {
  uint8_t position = 0;
  uint8_t color_index = 0;
  uint8_t blink_phase = 0;     // 0 off, 1 on
  uint32_t last_blink_ms = 0;  // on the caller's monotonic millisecond clock
  uint8_t row_turn = 0;        // ripple and sweep move their row on every second call
  EffectCells cells;
};

// The state an effect starts from: everything cleared but column cell 0, the seed the ripple and
// the sweep push along their row (with every cell 0 they would stay dark for good).
inline EffectState StartingEffectState() {
  EffectState state;
  state.cells.column[0] = 1;
  return state;
}

}  // namespace vorlin
