#include "lighting_steps/tables.h"

#include <gtest/gtest.h>

namespace vorlin {
namespace {

struct WheelCase {
  int place;
  Rgb color;
};

TEST(ColorWheel, SegmentEdgesAndRamps) {
  const WheelCase cases[] = {
      {0, {255, 1, 0}},     {9, {255, 32, 0}},  {31, {255, 255, 0}},  {32, {248, 255, 0}},
      {63, {0, 255, 0}},    {64, {0, 255, 1}},  {95, {0, 255, 255}},  {96, {0, 248, 255}},
      {127, {0, 0, 255}},   {128, {1, 0, 255}}, {159, {255, 0, 255}}, {160, {255, 0, 248}},
      {170, {255, 0, 124}}, {191, {255, 0, 0}}, {192, {255, 1, 0}},   {255, {0, 255, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WheelColor(static_cast<uint8_t>(c.place)), c.color) << "place " << c.place;
  }
}

TEST(ColorWheel, PlacesBeyondTheCycleRepeatTheFirstOnes) {
  for (int t = 192; t < 256; ++t) {
    EXPECT_EQ(WheelColor(static_cast<uint8_t>(t)), WheelColor(static_cast<uint8_t>(t - 192)));
  }
}

TEST(FourColors, EntriesAndAnIndexPastTheTable) {
  EXPECT_EQ(FourColor(0), (Rgb{0, 255, 180}));
  EXPECT_EQ(FourColor(1), (Rgb{0, 255, 0}));
  EXPECT_EQ(FourColor(2), (Rgb{255, 255, 255}));
  EXPECT_EQ(FourColor(3), (Rgb{255, 0, 0}));
  // A colour index left by another effect (up to 192) must not read past the table.
  EXPECT_EQ(FourColor(4), FourColor(0));
  EXPECT_EQ(FourColor(192), FourColor(0));
}

TEST(Curves, BreathRisesThenFallsAndWaveIsItsMiddle) {
  const std::pair<int, int> breath[] = {{0, 0},    {10, 10},  {11, 12},  {18, 27},
                                        {36, 94},  {62, 248}, {63, 255}, {64, 255},
                                        {65, 248}, {117, 10}, {127, 0}};
  for (const auto& [position, level] : breath) {
    EXPECT_EQ(BreathLevel(static_cast<uint8_t>(position)), level) << "position " << position;
  }
  for (int i = 0; i < 64; ++i) EXPECT_EQ(kBreathCurve[i], kBreathCurve[127 - i]);
  EXPECT_EQ(WaveLevel(0), 22);
  EXPECT_EQ(WaveLevel(47), 255);
  EXPECT_EQ(WaveLevel(48), 255);
  EXPECT_EQ(WaveLevel(95), 22);
  for (int i = 0; i < kWaveLength; ++i) EXPECT_EQ(kWaveCurve[i], kBreathCurve[16 + i]);
  // Out-of-range positions wrap instead of reading past the curves.
  EXPECT_EQ(BreathLevel(128 + 36), BreathLevel(36));
  EXPECT_EQ(WaveLevel(96 + 47), WaveLevel(47));
}

TEST(Levels, BrightnessIndexClampsToFull) {
  const int expected[] = {0, 80, 135, 195, 255, 255, 255};
  const uint8_t indices[] = {0, 1, 2, 3, 4, 5, 255};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(BrightnessLevel(indices[i]), expected[i]);
}

TEST(Levels, SpeedThresholdsByTable) {
  struct Case {
    ThresholdTable table;
    uint8_t speed;
    int threshold;
  };
  const Case cases[] = {
      {ThresholdTable::kStandard, 0, 8},         {ThresholdTable::kStandard, 3, 2},
      {ThresholdTable::kStandard, 4, 1},         {ThresholdTable::kStandard, 5, 0},
      {ThresholdTable::kStandard, 14, 0},        {ThresholdTable::kStandard, 200, 0},
      {ThresholdTable::kMouseRipple, 0, 16},     {ThresholdTable::kMouseRipple, 4, 2},
      {ThresholdTable::kMouseRipple, 5, 0},      {ThresholdTable::kSequenceSpectrum, 1, 5},
      {ThresholdTable::kSequenceSpectrum, 3, 1}, {ThresholdTable::kSequenceSpectrum, 4, 0},
      {ThresholdTable::kEveryTick, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SpeedThreshold(c.table, c.speed), c.threshold)
        << "table " << int(c.table) << " speed " << int(c.speed);
  }
}

TEST(Levels, BlinkPeriodNeverDropsToZero) {
  const std::pair<uint8_t, uint32_t> cases[] = {{0, 1600}, {1, 1200}, {2, 800},  {3, 400},
                                                {4, 200},  {5, 200},  {14, 200}, {255, 200}};
  for (const auto& [speed, period] : cases) EXPECT_EQ(BlinkPeriodMs(speed), period);
}

}  // namespace
}  // namespace vorlin
