#include "lighting_steps/base_steps.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "lighting_steps/tables.h"

namespace vorlin {
namespace {

constexpr Rgb kBlue{10, 20, 200};

EffectParams Params(uint8_t brightness, uint8_t direction, bool multi, uint8_t speed = 0) {
  return {0, brightness, speed, direction, multi, kBlue};
}

// Every entry of the frame holds the same value; returns it.
uint32_t Uniform(const KeyColorFrame& frame) {
  const auto words = frame.Snapshot();
  for (uint32_t w : words) EXPECT_EQ(w, words.front());
  return words.front();
}

TEST(BreathStep, PositionWrapsAndColourIndexAdvances) {
  struct Case {
    uint8_t direction, position, color_index;
    uint8_t next_position, next_color_index;
  };
  const Case cases[] = {
      {1, 127, 0, 0, 16},  {1, 127, 176, 0, 192}, {1, 127, 192, 0, 0}, {1, 5, 32, 6, 32},
      {0, 0, 16, 127, 16}, {0, 1, 16, 0, 32},     {1, 200, 250, 0, 0},  // stale values from another
                                                                        // effect
  };
  for (const auto& c : cases) {
    EffectState state;
    state.position = c.position;
    state.color_index = c.color_index;
    KeyColorFrame frame(4);
    BreathStep(state, frame.view(), Params(4, c.direction, true));
    EXPECT_EQ(state.position, c.next_position);
    EXPECT_EQ(state.color_index, c.next_color_index);
    EXPECT_EQ(Uniform(frame), MakeFrameEntry(WheelColor(c.next_color_index),
                                             (BreathLevel(c.next_position) * 255) >> 8));
  }
}

TEST(BreathStep, SingleColourAtBreathTimesBrightness) {
  EffectState state;
  state.position = 35;  // -> 36, breath level 94
  KeyColorFrame frame(2);
  BreathStep(state, frame.view(), Params(2, 1, false));
  EXPECT_EQ(Uniform(frame), MakeFrameEntry(kBlue, (94 * 135) >> 8));
}

TEST(BreathFourStep, CountsThroughFourColours) {
  const std::pair<uint8_t, uint8_t> cases[] = {{0, 1}, {2, 3}, {3, 0}, {176, 0}};
  for (const auto& [index, next] : cases) {
    EffectState state;
    state.position = 127;
    state.color_index = index;
    KeyColorFrame frame(1);
    BreathFourStep(state, frame.view(), Params(4, 1, true));
    EXPECT_EQ(state.color_index, next);
    EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(FourColor(next), 0));
  }
  // Mid-breath, a colour index left above 3 by another effect still shows a table colour.
  EffectState state;
  state.position = 40;
  state.color_index = 176;
  KeyColorFrame frame(1);
  BreathFourStep(state, frame.view(), Params(4, 1, false));
  EXPECT_EQ(FrameEntryColor(frame.GetKeyColor(0)), FourColor(0));
}

TEST(SpectrumStep, WalksTheWheel) {
  struct Case {
    uint8_t direction, position, next;
    Rgb color;
  };
  const Case cases[] = {{1, 191, 0, {255, 1, 0}},
                        {1, 31, 32, {248, 255, 0}},
                        {0, 0, 191, {255, 0, 0}},
                        {0, 33, 32, {248, 255, 0}}};
  for (const auto& c : cases) {
    EffectState state;
    state.position = c.position;
    KeyColorFrame frame(3);
    SpectrumStep(state, frame.view(), Params(3, c.direction, false));
    EXPECT_EQ(state.position, c.next);
    EXPECT_EQ(Uniform(frame), MakeFrameEntry(c.color, 195));
  }
}

TEST(SteadyAndDark, WholeFrame) {
  KeyColorFrame frame(5);
  SteadyStep(frame.view(), Params(1, 0, true));
  EXPECT_EQ(Uniform(frame), MakeFrameEntry(kBlue, 80));
  DarkStep(frame.view());
  EXPECT_EQ(Uniform(frame), 0u);
}

TEST(BlinkStep, TogglesOncePerPeriod) {
  EffectState state;
  KeyColorFrame frame(2);
  const EffectParams params = Params(4, 1, false, 0);  // 1600 ms
  struct Tick {
    uint32_t now;
    bool on;
  };
  const Tick ticks[] = {{0, false},    {1599, false}, {1600, true}, {3199, true},
                        {3200, false}, {4800, true},  {4801, true}};
  for (const auto& t : ticks) {
    BlinkStep(state, frame.view(), params, t.now);
    EXPECT_EQ(Uniform(frame), t.on ? MakeFrameEntry(kBlue, 255) : 0u) << "at " << t.now;
  }
  EXPECT_EQ(state.position, 48);  // three switches of 16 places
}

TEST(BlinkStep, MulticolourMovesSixteenPlacesAndSurvivesClockWrap) {
  EffectState state;
  state.position = 176;
  state.last_blink_ms = 0xFFFFFFC0u;
  KeyColorFrame frame(1);
  const EffectParams params = Params(4, 1, true, 4);  // 200 ms
  BlinkStep(state, frame.view(), params, 0xFFFFFFC0u + 100u);
  EXPECT_EQ(state.blink_phase, 0);
  BlinkStep(state, frame.view(), params, 0xFFFFFFC0u + 200u /* past 2^32 */);
  EXPECT_EQ(state.blink_phase, 1);
  EXPECT_EQ(state.position, 0);
  EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(WheelColor(0), 255));
}

TEST(BlinkFourStep, NextTableColourOnEachSwitch) {
  EffectState state;
  state.position = 3;
  KeyColorFrame frame(1);
  const EffectParams params = Params(4, 1, false, 4);
  BlinkFourStep(state, frame.view(), params, 200);
  EXPECT_EQ(state.position, 0);
  EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(FourColor(0), 255));
  BlinkFourStep(state, frame.view(), params, 400);
  EXPECT_EQ(frame.GetKeyColor(0), 0u);
  BlinkFourStep(state, frame.view(), params, 600);
  EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(FourColor(2), 255));
}

TEST(BaseSteps, BrightnessZeroIsDarkForEveryEffect) {
  const std::pair<std::string, std::function<void(EffectState&, FrameView, const EffectParams&)>>
      steps[] = {
          {"breath", [](auto& s, auto f, auto& p) { BreathStep(s, f, p); }},
          {"breath four", [](auto& s, auto f, auto& p) { BreathFourStep(s, f, p); }},
          {"steady", [](auto&, auto f, auto& p) { SteadyStep(f, p); }},
          {"spectrum", [](auto& s, auto f, auto& p) { SpectrumStep(s, f, p); }},
          {"blink", [](auto& s, auto f, auto& p) { BlinkStep(s, f, p, 5000); }},
          {"blink four", [](auto& s, auto f, auto& p) { BlinkFourStep(s, f, p, 5000); }},
      };
  for (const auto& [name, step] : steps) {
    for (bool multi : {false, true}) {
      EffectState state;
      state.position = 63;
      KeyColorFrame frame(3);
      step(state, frame.view(), Params(0, 1, multi));
      EXPECT_EQ(FrameEntryLevel(Uniform(frame)), 0) << name;
    }
  }
}

}  // namespace
}  // namespace vorlin
