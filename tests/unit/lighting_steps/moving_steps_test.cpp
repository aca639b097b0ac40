#include "lighting_steps/moving_steps.h"

#include <gtest/gtest.h>

#include "lighting_steps/tables.h"

namespace vorlin {
namespace {

constexpr Rgb kGreen{0, 200, 30};

EffectParams Params(uint8_t direction, bool multi, uint8_t effect = 7) {
  return {effect, 4, 0, direction, multi, kGreen};
}

const DeviceLightingLayout& Headset() {
  return LightingLayout(LightingDevice::kHeadset);
}
const DeviceLightingLayout& Mouse() {
  return LightingLayout(LightingDevice::kMouse);
}
const DeviceLightingLayout& Pad() {
  return LightingLayout(LightingDevice::kMousePad);
}

TEST(WaveStep, HeadsetMulticolourBothDirections) {
  const std::pair<uint8_t, std::vector<uint8_t>> cases[] = {{1, {2, 18, 34}}, {0, {0, 16, 32}}};
  for (const auto& [direction, places] : cases) {
    EffectState state;
    KeyColorFrame frame(3);
    WaveStep(Headset(), state, frame.view(), Params(direction, true));
    for (size_t i = 0; i < places.size(); ++i) {
      EXPECT_EQ(frame.GetKeyColor(i), MakeFrameEntry(WheelColor(places[i]), 255))
          << "direction " << int(direction) << " LED " << i;
    }
  }
}

TEST(WaveStep, SingleColourShapedByTheWaveCurve) {
  struct Case {
    const DeviceLightingLayout* layout;
    uint8_t position_after;
    std::vector<uint8_t> levels;
  };
  // Headset: 3 places per call, LEDs 10 apart from 0 (wave 3, 13, 23 = 30, 65, 109).
  // Mouse pad: 1 place per call, LEDs 7 apart from 1 (wave 2, 9, 16 = 27, 49, 77).
  const Case cases[] = {{&Headset(), 3, {29, 64, 108}}, {&Pad(), 1, {26, 48, 76}}};
  for (const auto& c : cases) {
    EffectState state;
    KeyColorFrame frame(3);
    WaveStep(*c.layout, state, frame.view(), Params(1, false));
    EXPECT_EQ(state.position, c.position_after);
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(frame.GetKeyColor(i), MakeFrameEntry(kGreen, c.levels[i])) << "LED " << i;
    }
  }
}

TEST(WaveStep, MouseColumnsShareOneColour) {
  EffectState state;
  KeyColorFrame frame(15);
  WaveStep(Mouse(), state, frame.view(), Params(1, true));
  const auto at = [](uint8_t place) { return MakeFrameEntry(WheelColor(place), 255); };
  EXPECT_EQ(frame.GetKeyColor(0), at(2));
  EXPECT_EQ(frame.GetKeyColor(13), at(2));
  EXPECT_EQ(frame.GetKeyColor(12), at(9));
  EXPECT_EQ(frame.GetKeyColor(5), at(37));
  EXPECT_EQ(frame.GetKeyColor(8), at(37));
  for (size_t led : {6, 14, 7}) EXPECT_EQ(frame.GetKeyColor(led), at(44)) << "LED " << led;
}

TEST(WaveStep, MouseLedsMissingFromASmallFrameAreSkipped) {
  EffectState state;
  KeyColorFrame frame(7);
  WaveStep(Mouse(), state, frame.view(), Params(1, true));
  EXPECT_EQ(frame.GetKeyColor(6), MakeFrameEntry(WheelColor(44), 255));
}

// A fresh effect state seeded as the devices seed it: one lit column cell.
EffectState Seeded() {
  EffectState state;
  state.cells.column[0] = 1;
  return state;
}

TEST(RippleStep, LightMovesOutwardPairByPair) {
  EffectState state = Seeded();
  KeyColorFrame frame(13);
  const EffectParams params = Params(0, false);
  struct Expect {
    uint8_t led1, led2, led7;
  };
  // Call 1 fills key cell 0 and fades it to 215; call 2 only fades; call 3 fills key cell 1
  // from the column cell the rotation moved there.
  const Expect expected[] = {{214, 0, 0}, {174, 0, 0}, {134, 214, 0}};
  for (const auto& e : expected) {
    RippleStep(Headset(), state, frame.view(), params);
    EXPECT_EQ(frame.GetKeyColor(1), MakeFrameEntry(kGreen, e.led1));
    EXPECT_EQ(frame.GetKeyColor(2), MakeFrameEntry(kGreen, e.led2));
    EXPECT_EQ(frame.GetKeyColor(13 - 1), MakeFrameEntry(kGreen, 0));  // pair 2's second LED
    EXPECT_EQ(frame.GetKeyColor(7), MakeFrameEntry(kGreen, e.led7));
  }
  EXPECT_EQ(frame.GetKeyColor(0), 0u);  // LED 0 belongs to no pair
  EXPECT_EQ(state.cells.column[2], 1);
}

TEST(RippleStep, MulticolourGivesEachPairTheNextWheelColour) {
  EffectState state = Seeded();
  KeyColorFrame frame(13);
  RippleStep(Headset(), state, frame.view(), Params(0, true));
  EXPECT_EQ(frame.GetKeyColor(1), MakeFrameEntry(WheelColor(11), 214));
  EXPECT_EQ(frame.GetKeyColor(2), MakeFrameEntry(WheelColor(23), 0));
  EXPECT_EQ(frame.GetKeyColor(13 - 1), MakeFrameEntry(WheelColor(35), 0));
  EXPECT_EQ(frame.GetKeyColor(7), MakeFrameEntry(WheelColor(83), 0));
  EXPECT_EQ(frame.GetKeyColor(8), MakeFrameEntry(WheelColor(83), 0));
  EXPECT_EQ(state.position, 83);
}

TEST(RippleStep, GlowingLeadKeepsTheColoursShown) {
  EffectState state = Seeded();
  KeyColorFrame frame(15);
  for (uint8_t i = 0; i < 15; ++i) frame.SetKeyColor(i, MakeFrameEntry({i, i, i}, 9));
  RippleStep(Pad(), state, frame.view(), Params(1, true));
  EXPECT_EQ(state.position, 1);  // no pair moved it
  EXPECT_EQ(frame.GetKeyColor(1), MakeFrameEntry({1, 1, 1}, 214));
  EXPECT_EQ(frame.GetKeyColor(2), MakeFrameEntry({2, 2, 2}, 0));
  EXPECT_EQ(frame.GetKeyColor(13), MakeFrameEntry({2, 2, 2}, 0));
  EXPECT_EQ(frame.GetKeyColor(14), MakeFrameEntry({1, 1, 1}, 214));
  EXPECT_EQ(state.cells.column[7], 1);  // rotated left within the first eight cells
}

TEST(RippleStep, MouseLeadsBackwardWithItsLastColumn) {
  EffectState state;
  state.cells.key[6] = 100;  // fades to 70 under a non-zero effect
  KeyColorFrame frame(15);
  for (uint8_t i = 0; i < 15; ++i) frame.SetKeyColor(i, MakeFrameEntry({i, 0, 0}, 1));
  RippleStep(Mouse(), state, frame.view(), Params(0, true, 5));
  for (size_t led : {6, 14, 7}) {
    EXPECT_EQ(frame.GetKeyColor(led), MakeFrameEntry({6, 0, 0}, 69)) << "LED " << led;
  }
  EXPECT_EQ(frame.GetKeyColor(13), MakeFrameEntry({0, 0, 0}, 0));
}

TEST(SweepStep, EveryLedHasItsOwnCellAndTheRowTurnsWithTheDirection) {
  struct Case {
    uint8_t direction;
    std::vector<uint8_t> levels_after_three;
  };
  // Forward rotates right: the lit column reaches cell 1 and lights LED 1 on the third call.
  // Backward rotates left: the column leaves the filled range and LED 1 stays dark.
  const Case cases[] = {{1, {134, 214, 0}}, {0, {134, 0, 0}}};
  for (const auto& c : cases) {
    EffectState state = Seeded();
    KeyColorFrame frame(3);
    for (int call = 0; call < 3; ++call) {
      SweepStep(Headset(), state, frame.view(), Params(c.direction, false));
    }
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(frame.GetKeyColor(i), MakeFrameEntry(kGreen, c.levels_after_three[i]))
          << "direction " << int(c.direction) << " LED " << i;
    }
  }
}

TEST(MovingSteps, EmptyFrameIsLeftAlone) {
  KeyColorFrame frame;
  for (LightingDevice device :
       {LightingDevice::kMouse, LightingDevice::kMousePad, LightingDevice::kHeadset}) {
    for (bool multi : {false, true}) {
      EffectState state = Seeded();
      RippleStep(LightingLayout(device), state, frame.view(), Params(0, multi));
      SweepStep(LightingLayout(device), state, frame.view(), Params(0, multi));
      WaveStep(LightingLayout(device), state, frame.view(), Params(0, multi));
      EXPECT_EQ(state.cells.key[0], 0);
    }
  }
}

}  // namespace
}  // namespace vorlin
