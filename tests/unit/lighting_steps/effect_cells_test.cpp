#include "lighting_steps/effect_cells.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorlin {
namespace {

std::vector<int> FadeRun(uint8_t effect) {
  std::vector<int> run;
  uint8_t cell = 255;
  run.push_back(cell);
  while (cell != 0 && run.size() < 300) {
    cell = FadeCellValue(cell, effect);
    run.push_back(cell);
  }
  return run;
}

std::vector<int> Descending(int from) {
  std::vector<int> run;
  for (int v = from; v >= 0; --v) run.push_back(v);
  return run;
}

std::vector<int> Concat(std::vector<int> head, const std::vector<int>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

TEST(FadeEffectCell, GlowRunsFromFullToDark) {
  EXPECT_EQ(FadeRun(0), Concat({255, 215, 175, 135, 95, 65, 35, 20}, Descending(12)));
  EXPECT_EQ(FadeRun(7), Concat({255, 215, 175, 135, 95, 65, 35, 25, 17}, Descending(9)));
  EXPECT_EQ(FadeRun(kMusicEffectNumber),
            Concat({255, 210, 165, 120, 85, 60, 50, 40, 30, 25, 20}, Descending(15)));
}

TEST(FadeEffectCell, EveryCellFallsWithoutWrapping) {
  for (uint8_t effect : {uint8_t{0}, uint8_t{5}, kMusicEffectNumber}) {
    EXPECT_EQ(FadeCellValue(0, effect), 0);
    for (int cell = 1; cell < 256; ++cell) {
      EXPECT_LT(FadeCellValue(static_cast<uint8_t>(cell), effect), cell)
          << "effect " << int(effect) << " cell " << cell;
    }
  }
}

TEST(FadeEffectCell, MusicBandsIncludingTheBitFourCells) {
  const std::pair<int, int> cases[] = {{144, 99}, {143, 103}, {128, 88}, {112, 77}, {96, 66},
                                       {80, 55},  {64, 44},   {63, 53},  {32, 22},  {31, 26},
                                       {17, 12},  {16, 15},   {1, 0}};
  for (const auto& [cell, next] : cases) {
    EXPECT_EQ(FadeCellValue(static_cast<uint8_t>(cell), kMusicEffectNumber), next)
        << "cell " << cell;
  }
}

TEST(FadeEffectCell, WritesTheKeyCellAndIgnoresIndicesOutsideTheRow) {
  EffectCells cells;
  cells.key[3] = 255;
  EXPECT_EQ(FadeEffectCell(cells, 3, 0), 215);
  EXPECT_EQ(cells.key[3], 215);
  EXPECT_EQ(FadeEffectCell(cells, EffectCells::kKeyCells, 0), 0);
}

TEST(EffectRow, FillLightsKeyCellsUnderLitColumns) {
  EffectCells cells;
  cells.column[0] = 1;
  cells.column[8] = 3;
  cells.column[9] = 1;  // beyond the nine filled cells
  cells.key[1] = 40;
  FillEffectRow(cells);
  EXPECT_EQ(cells.key[0], 255);
  EXPECT_EQ(cells.key[1], 40);
  EXPECT_EQ(cells.key[8], 255);
  EXPECT_EQ(cells.key[9], 0);
}

TEST(EffectRow, RotateFirstCellsOrWholeRow) {
  EffectCells cells;
  for (int i = 0; i < 23; ++i) cells.column[i] = static_cast<uint8_t>(i + 1);
  RotateEffectRow(cells, true, 8);
  EXPECT_EQ(cells.column[0], 8);
  EXPECT_EQ(cells.column[1], 1);
  EXPECT_EQ(cells.column[7], 7);
  EXPECT_EQ(cells.column[8], 9);  // untouched
  RotateEffectRow(cells, false, 8);
  for (int i = 0; i < 23; ++i) EXPECT_EQ(cells.column[i], i + 1);
  RotateEffectRow(cells, false);
  EXPECT_EQ(cells.column[0], 2);
  EXPECT_EQ(cells.column[22], 1);
  RotateEffectRow(cells, true);
  RotateEffectRow(cells, true);
  EXPECT_EQ(cells.column[0], 23);
  EXPECT_EQ(cells.column[1], 1);
}

}  // namespace
}  // namespace vorlin
