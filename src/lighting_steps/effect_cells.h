#pragma once

#include <cstddef>
#include <cstdint>

#include "lighting_steps/effect_state.h"

namespace vorlin {

// The effect number of the keyboard's music effect, which decays its cells by a rule of its own.
inline constexpr uint8_t kMusicEffectNumber = 29;

// The glow decay of one cell under an effect (the first matching row applies):
//
//   cell              effect 0   effect 29   any other effect
//   128 or more       - 40       see below   - 40
//   bit 6 set         - 30                   - 30
//   bit 5 set         - 15                   - 10
//   above 16          - 8                    - 8
//   not 0             - 1                    - 1
//
// From 255 a cell runs 255, 215, 175, 135, 95, 65, 35, 20, 12, 11, ..., 0 under effect 0. Every
// row keeps the result within 0-255.
//
// Effect 29 decays in nine bands read as thresholds of the cell value, fastest at the top:
// 144 or more - 45, 128 - 40, 112 - 35, 96 - 30, 80 - 25, 64 - 20, 32 - 10, above 16 - 5,
// not 0 - 1. (Read as bit tests, those masks would leave six bands unreachable and would pull a
// cell of 16-31 below zero, where it would wrap round to a bright value.) Each band's decrement is
// smaller than its lower edge, so the cell never goes below 0 and always falls.
uint8_t FadeCellValue(uint8_t cell, uint8_t effect);

// FadeEffectCell: decays key cell `index` in place and returns its new value (0 outside the row).
uint8_t FadeEffectCell(EffectCells& cells, size_t index, uint8_t effect);

// FillEffectRow: key cells 0-8 become 255 where the column cell of the same index is non-zero.
void FillEffectRow(EffectCells& cells);

// RotateEffectRow over the first `count` column cells (all 23 at most) by one place: right moves
// cell i to i + 1 and the last to 0, left the other way round.
void RotateEffectRow(EffectCells& cells, bool right, size_t count = EffectCells::kColumnCells);

}  // namespace vorlin
