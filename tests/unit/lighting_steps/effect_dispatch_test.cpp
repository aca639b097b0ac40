#include "lighting_steps/effect_dispatch.h"

#include <gtest/gtest.h>

#include "lighting_steps/base_steps.h"

namespace vorlin {
namespace {

using K = EffectStepKind;

TEST(DispatchEffect, StepPerEffectCode) {
  struct Row {
    uint8_t code;
    K mouse;
    K strip;  // mouse pad and headset
  };
  const Row rows[] = {
      {0, K::kWave, K::kWave},
      {1, K::kSpectrum, K::kSpectrum},
      {2, K::kBreath, K::kBreath},
      {3, K::kSteady, K::kSteady},
      {4, K::kBlink, K::kBlink},
      {5, K::kRipple, K::kUserSequence},
      {6, K::kReactive, K::kSweep},
      {7, K::kBreathFour, K::kRipple},
      {8, K::kBlinkFour, K::kDark},
      {9, K::kUserSequence, K::kUserSequence},
      {10, K::kDark, K::kUserSequence},
      {11, K::kUserSequence, K::kUserSequence},
      {255, K::kUserSequence, K::kUserSequence},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(DispatchEffect(LightingDevice::kMouse, r.code).step, r.mouse) << int(r.code);
    EXPECT_EQ(DispatchEffect(LightingDevice::kMousePad, r.code).step, r.strip) << int(r.code);
    EXPECT_EQ(DispatchEffect(LightingDevice::kHeadset, r.code).step, r.strip) << int(r.code);
  }
}

TEST(DispatchEffect, TimingPerEffectAndSpeed) {
  struct Case {
    LightingDevice device;
    uint8_t code, speed;
    uint32_t ticks, period_ms;
  };
  const Case cases[] = {
      {LightingDevice::kHeadset, 2, 0, 8, 16},  {LightingDevice::kHeadset, 2, 4, 1, 2},
      {LightingDevice::kHeadset, 2, 9, 1, 2},   {LightingDevice::kMousePad, 7, 1, 6, 12},
      {LightingDevice::kMousePad, 5, 2, 4, 8},  // user sequence at the device's speed
      {LightingDevice::kMouse, 5, 0, 16, 32},   {LightingDevice::kMouse, 5, 4, 2, 4},
      {LightingDevice::kMouse, 5, 6, 1, 2},     {LightingDevice::kMouse, 9, 0, 1, 2},
      {LightingDevice::kMouse, 4, 0, 8, 1600},  {LightingDevice::kMouse, 8, 3, 2, 400},
      {LightingDevice::kHeadset, 4, 7, 1, 200},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TicksPerStep(c.device, c.code, c.speed), c.ticks)
        << "code " << int(c.code) << " speed " << int(c.speed);
    EXPECT_EQ(StepPeriodMs(c.device, c.code, c.speed), c.period_ms)
        << "code " << int(c.code) << " speed " << int(c.speed);
  }
}

TEST(RunEffectStep, RunsTheStepOrLeavesItToTheCaller) {
  const EffectParams params{3, 4, 0, 1, false, Rgb{1, 2, 3}};
  KeyColorFrame frame(2);
  EffectState state;
  frame.view().Fill(0xDEADBEEF);
  EXPECT_FALSE(RunEffectStep(K::kUserSequence, LightingLayout(LightingDevice::kHeadset), state,
                             frame.view(), params, 0));
  EXPECT_FALSE(RunEffectStep(K::kReactive, LightingLayout(LightingDevice::kMouse), state,
                             frame.view(), params, 0));
  EXPECT_EQ(frame.GetKeyColor(0), 0xDEADBEEFu);
  EXPECT_TRUE(RunEffectStep(K::kSteady, LightingLayout(LightingDevice::kHeadset), state,
                            frame.view(), params, 0));
  EXPECT_EQ(frame.GetKeyColor(1), MakeFrameEntry({1, 2, 3}, 255));
  EXPECT_TRUE(RunEffectStep(K::kSpectrum, LightingLayout(LightingDevice::kHeadset), state,
                            frame.view(), params, 0));
  EXPECT_EQ(state.position, 1);
}

}  // namespace
}  // namespace vorlin
