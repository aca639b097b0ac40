#include "lighting_steps/effect_cells.h"

#include <algorithm>
#include <array>

namespace vorlin {
namespace {

struct Band {
  uint8_t from;  // the band holds cells at or above this value
  uint8_t decrement;
};

// Bands of the music effect, highest first; a cell from 1 to 16 loses 1.
constexpr std::array<Band, 8> kMusicBands{
    {{144, 45}, {128, 40}, {112, 35}, {96, 30}, {80, 25}, {64, 20}, {32, 10}, {17, 5}}};

uint8_t FadeMusicCell(uint8_t cell) {
  for (const Band& band : kMusicBands) {
    if (cell >= band.from) return static_cast<uint8_t>(cell - band.decrement);
  }
  return cell == 0 ? 0 : static_cast<uint8_t>(cell - 1);
}

}  // namespace

uint8_t FadeCellValue(uint8_t cell, uint8_t effect) {
  if (effect == kMusicEffectNumber) return FadeMusicCell(cell);
  int decrement = 0;
  if (cell >= 128) {
    decrement = 40;
  } else if (cell & 0x40) {
    decrement = 30;
  } else if (cell & 0x20) {
    decrement = effect == 0 ? 15 : 10;
  } else if (cell > 16) {
    decrement = 8;
  } else if (cell != 0) {
    decrement = 1;
  }
  return static_cast<uint8_t>(cell - decrement);
}

uint8_t FadeEffectCell(EffectCells& cells, size_t index, uint8_t effect) {
  if (index >= cells.key.size()) return 0;
  cells.key[index] = FadeCellValue(cells.key[index], effect);
  return cells.key[index];
}

void FillEffectRow(EffectCells& cells) {
  for (size_t i = 0; i <= 8; ++i) {
    if (cells.column[i] != 0) cells.key[i] = 255;
  }
}

void RotateEffectRow(EffectCells& cells, bool right, size_t count) {
  count = std::min(count, cells.column.size());
  if (count < 2) return;
  const auto first = cells.column.begin();
  if (right) {
    std::rotate(first, first + (count - 1), first + count);
  } else {
    std::rotate(first, first + 1, first + count);
  }
}

}  // namespace vorlin
