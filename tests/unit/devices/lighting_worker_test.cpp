// The lighting worker and the synchronised mode on their own threads: what reaches the frame for
// an effect, the per-key overlays and a user sequence, and that a held or closed link is left to
// the sync thread.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "devices/lighting_sync.h"
#include "devices/lighting_worker.h"
#include "hid/device_link.h"
#include "lighting_steps/frame.h"

namespace vorlin {
namespace {

using namespace std::chrono_literals;

// Light words of an effect: effect number, brightness index, speed index, colour.
LightWords Words(uint8_t effect, uint8_t brightness, uint8_t speed, Rgb colour) {
  LightSettings settings;
  settings.mode = effect;
  settings.brightness = brightness;
  settings.speed = speed;
  settings.red = colour.red;
  settings.green = colour.green;
  settings.blue = colour.blue;
  return LightSettingsToWords(settings);
}

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr uint32_t kFullRed = MakeFrameEntry(kRed, 255);
constexpr uint32_t kFullBlue = MakeFrameEntry(kBlue, 255);

bool WaitFor(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

class LightingWorkerTest : public ::testing::Test {
 protected:
  LightingWorkerTest() { state_.frame.Resize(15); }
  ~LightingWorkerTest() override { worker_.Stop(); }

  void Show(const LightWords& words) {
    state_.words.Store(words);
    state_.Changed();
  }
  uint32_t Entry(size_t index) const { return state_.frame.GetKeyColor(index); }

  DeviceLink link_;
  DeviceLightingState state_;
  LightingWorker worker_{link_, state_, LightingDevice::kMousePad, nullptr, "test lighting ended"};
};

// The sweep (6) and the ripple (7) of the pad push a lit cell along their row: from the start
// and again after the effect is restarted, the frame lights up.
TEST_F(LightingWorkerTest, SweepAndRippleLightTheFrame) {
  link_.open = true;
  worker_.Start();
  const auto lit = [&] {
    for (size_t i = 0; i < 15; ++i) {
      if (FrameEntryLevel(Entry(i)) > 0) return true;
    }
    return false;
  };
  for (const uint8_t effect : {6, 7, 6}) {
    SCOPED_TRACE(static_cast<int>(effect));
    Show(Words(8, 4, 4, kRed));  // dark first
    ASSERT_TRUE(WaitFor([&] { return !lit(); }));
    Show(Words(effect, 4, 4, kRed));
    state_.restart = true;
    state_.Changed();
    EXPECT_TRUE(WaitFor(lit));
  }
}

TEST_F(LightingWorkerTest, StepsOnlyWhileTheLinkIsOpenAndNotHeld) {
  Show(Words(3, 4, 0, kRed));  // steady red, full brightness
  worker_.Start();
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(Entry(0), 0u);  // the link is closed: nothing is stepped

  link_.open = true;
  state_.Changed();
  ASSERT_TRUE(WaitFor([&] { return Entry(0) == kFullRed && Entry(14) == kFullRed; }));

  // Held: the sync thread owns the frame; the worker leaves a change alone.
  link_.lightingHold = true;
  Show(Words(3, 4, 0, kBlue));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(Entry(0), kFullRed);

  link_.lightingHold = false;
  state_.Changed();
  EXPECT_TRUE(WaitFor([&] { return Entry(0) == kFullBlue; }));

  // A brightness index of 0 is dark whatever the colour.
  Show(Words(3, 0, 0, kRed));
  EXPECT_TRUE(WaitFor([&] { return FrameEntryLevel(Entry(0)) == 0; }));
}

TEST_F(LightingWorkerTest, AMovingEffectKeepsChangingTheFrame) {
  link_.open = true;
  Show(Words(1, 4, 4, kRed));  // spectrum at the fastest speed
  worker_.Start();
  ASSERT_TRUE(WaitFor([&] { return Entry(0) != 0; }));
  const uint32_t first = Entry(0);
  EXPECT_TRUE(WaitFor([&] { return Entry(0) != first; }));
}

TEST_F(LightingWorkerTest, OverlaysAndUserSequencesReachTheFrame) {
  link_.open = true;
  Show(Words(3, 4, 0, kRed));
  LightListEntry green;
  green.mode = 1;  // steady
  green.brightness = 4;
  green.green = 255;
  green.present = 1;
  state_.SetOverlays({LightListEntry{}, green});
  worker_.Start();
  EXPECT_TRUE(WaitFor([&] {
    return Entry(0) == kFullRed && Entry(1) == MakeFrameEntry(Rgb{0, 255, 0}, 255) &&
           Entry(2) == kFullRed;
  }));

  // Effect 5 on the pad plays the selected user sequence: one steady blue step.
  state_.SetOverlays({});
  LightEffectStep blue;
  blue.mode = 1;
  blue.brightness = 4;
  blue.blue = 255;
  blue.time = 1000;
  state_.SetSequence({blue});
  Show(Words(5, 4, 0, kRed));
  EXPECT_TRUE(WaitFor([&] { return Entry(0) == kFullBlue && Entry(14) == kFullBlue; }));
  worker_.Stop();
  EXPECT_FALSE(worker_.Running());
}

TEST(LightingSyncTest, LightsOnlyTheHeldDevicesAlike) {
  DeviceLink held_link, own_link, closed_link;
  DeviceLightingState held, own, closed;
  for (DeviceLightingState* state : {&held, &own, &closed}) state->frame.Resize(4);
  held_link.open = true;
  held_link.lightingHold = true;
  own_link.open = true;
  closed_link.lightingHold = true;  // held but not connected
  LightingSync sync;
  sync.AddDevice(held_link, held);
  sync.AddDevice(own_link, own);
  sync.AddDevice(closed_link, closed);
  sync.StartThread();

  SyncSettings settings;
  settings.type = SyncType::kSteady;
  settings.brightness = 4;
  settings.color = kBlue;
  sync.Start(settings);
  EXPECT_TRUE(WaitFor([&] { return held.frame.GetKeyColor(3) == kFullBlue; }));
  EXPECT_EQ(own.frame.GetKeyColor(0), 0u);
  EXPECT_EQ(closed.frame.GetKeyColor(0), 0u);
  EXPECT_EQ(sync.Worker().Stop(), DeviceWorker::StopOutcome::kEnded);
}

}  // namespace
}  // namespace vorlin
