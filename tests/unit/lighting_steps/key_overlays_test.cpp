#include "lighting_steps/key_overlays.h"

#include <gtest/gtest.h>

#include <vector>

#include "lighting_steps/tables.h"

namespace vorlin {
namespace {

constexpr uint32_t kBackground = 0x55555555;

LightListEntry Entry(OverlayMode mode, uint8_t brightness, uint8_t speed, bool multi,
                     Rgb color = {9, 8, 7}, bool present = true) {
  return {static_cast<uint8_t>(mode),           brightness, speed,       0,
          static_cast<uint8_t>(multi ? 1 : 0),  color.red,  color.green, color.blue,
          static_cast<uint8_t>(present ? 1 : 0)};
}

class KeyOverlays : public ::testing::Test {
 protected:
  void SetUp() override { frame.view().Fill(kBackground); }
  void Turn(uint32_t now = 0) {
    counters.resize(entries.size());
    ApplyKeyOverlays(entries, counters, frame.view(), now);
  }
  std::vector<LightListEntry> entries;
  std::vector<KeyOverlayCounters> counters;
  KeyColorFrame frame{4};
};

TEST_F(KeyOverlays, OnlyKeysWithAnEntryChange) {
  entries = {Entry(OverlayMode::kSteady, 2, 0, false), LightListEntry{},
             Entry(OverlayMode::kDark, 4, 0, false),
             Entry(OverlayMode::kBreathing, 4, 0, false, {1, 2, 3}, /*present=*/false)};
  Turn();
  EXPECT_EQ(frame.Snapshot(),
            (std::vector<uint32_t>{MakeFrameEntry({9, 8, 7}, 135), kBackground, 0, kBackground}));
}

TEST_F(KeyOverlays, ListLongerThanFrameOrCounters) {
  entries.assign(6, Entry(OverlayMode::kSteady, 4, 0, false));
  Turn();
  EXPECT_EQ(frame.GetKeyColor(3), MakeFrameEntry({9, 8, 7}, 255));
  std::vector<KeyOverlayCounters> few(1);
  frame.view().Fill(kBackground);
  ApplyKeyOverlays(entries, few, frame.view(), 0);
  EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry({9, 8, 7}, 255));
  EXPECT_EQ(frame.GetKeyColor(1), kBackground);
}

TEST_F(KeyOverlays, BreathingPhaseAndColourIndex) {
  entries = {Entry(OverlayMode::kBreathing, 4, 0, true)};
  Turn();
  EXPECT_EQ(counters[0].phase, 4);
  EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(WheelColor(0), (4 * 255) >> 8));
  for (int turn = 2; turn <= 31; ++turn) Turn();
  EXPECT_EQ(counters[0].phase, 124);
  Turn();
  EXPECT_EQ(counters[0].phase, 0);
  EXPECT_EQ(counters[0].color_index, 1);
  EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(WheelColor(1), 0));
}

TEST_F(KeyOverlays, BreathingFastSpeedAndColourHold) {
  entries = {Entry(OverlayMode::kBreathing, 4, 255, false)};
  counters.resize(1);
  counters[0].phase = 100;
  counters[0].color_index = 192;
  Turn();  // 100 + 259 passes 127 instead of wrapping to a byte
  EXPECT_EQ(counters[0].phase, 0);
  EXPECT_EQ(counters[0].color_index, 191);
  Turn();
  EXPECT_EQ(counters[0].color_index, 192);
}

TEST_F(KeyOverlays, SpectrumCountsTurns) {
  entries = {Entry(OverlayMode::kSpectrum, 3, 3, false)};  // threshold 2
  counters.resize(1);
  counters[0].color_index = 190;
  const uint8_t expected[] = {190, 191, 191, 0};
  for (uint8_t index : expected) {
    Turn();
    EXPECT_EQ(counters[0].color_index, index);
    EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(WheelColor(index), 195));
  }
}

TEST_F(KeyOverlays, BlinkingMovesFourteenPlaces) {
  entries = {Entry(OverlayMode::kBlinking, 4, 4, true), Entry(OverlayMode::kBlinking, 1, 4, false)};
  counters.resize(2);
  counters[0].color_index = 180;
  Turn(100);
  EXPECT_EQ(frame.GetKeyColor(0), 0u);
  Turn(200);
  EXPECT_EQ(counters[0].color_index, 0);  // 194 is past the cycle
  EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(WheelColor(0), 255));
  EXPECT_EQ(frame.GetKeyColor(1), MakeFrameEntry({9, 8, 7}, 80));
  Turn(400);
  EXPECT_EQ(frame.GetKeyColor(0), 0u);
  EXPECT_EQ(frame.GetKeyColor(1), 0u);
}

}  // namespace
}  // namespace vorlin
