// CDeviceHook over stand-in sources: which source serves, which message each event becomes in
// each mode, and that nothing of an ended capture arrives.

#include "input/device_hook.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace vorlin {
namespace {

class FakeSource : public InputSource {
 public:
  FakeSource(bool available, bool window) : available_(available), window_(window) {}
  StartResult Start(const CaptureRequest& request, InputSink sink) override {
    if (!available_) return StartResult::kUnavailable;
    requests.push_back(request);
    sink_ = std::move(sink);
    running_ = true;
    return StartResult::kStarted;
  }
  // Keeps the sink, so that tests can deliver as a late queued call would.
  void Stop() override { running_ = false; ++stops; }
  bool Running() const override { return running_; }
  bool LimitedToWindow() const override { return window_; }
  std::string_view Name() const override { return "fake"; }
  void Emit(const InputEvent& event) { sink_(event); }

  std::vector<CaptureRequest> requests;
  int stops = 0;

 private:
  bool available_, window_, running_ = false;
  InputSink sink_;
};

InputEvent Key(uint32_t message = kWmKeyDown) {
  InputEvent event;
  event.message = message;
  event.keyboard.scan_code = 0x1E;
  return event;
}
InputEvent Button(bool with_point = false) {
  InputEvent event;
  event.device = InputEvent::Device::kMouse;
  event.message = kWmLButtonDown;
  event.mouse.has_point = with_point;
  event.mouse.x = with_point ? 5 : 0;
  return event;
}

struct Fixture : ::testing::Test {
  void Make(bool devices_available, bool window_available = true) {
    auto d = std::make_unique<FakeSource>(devices_available, false);
    auto w = std::make_unique<FakeSource>(window_available, true);
    devices = d.get();
    window = w.get();
    hook = std::make_unique<CDeviceHook>(std::move(d), std::move(w));
  }
  CDeviceHook::Target Target() {
    return [this](const HookEvent& e) { got.push_back(e); };
  }
  FakeSource* devices = nullptr;
  FakeSource* window = nullptr;
  std::unique_ptr<CDeviceHook> hook;
  std::vector<HookEvent> got;
};

TEST_F(Fixture, EachModeReportsKeysAndButtonsAsItsMessages) {
  struct Case {
    int mode;
    std::optional<HookMessage> key, button;
  };
  const Case cases[] = {
      {1, HookMessage::kKeySingleKey, std::nullopt},
      {4, HookMessage::kKeyKbMacro, HookMessage::kKeyMsMacro},
      {8, HookMessage::kKeyKbMacroPrevious, HookMessage::kKeyMsMacroPrevious},
      {16, HookMessage::kKeyKbMacroLater, HookMessage::kKeyMsMacroLater},
      {32, HookMessage::kKeyKbMacroSingle, HookMessage::kKeyMsMacroSingle},
      {7, std::nullopt, std::nullopt},
  };
  Make(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    got.clear();
    ASSERT_EQ(hook->Start(3, c.mode, Target(), true, true), 1);
    devices->Emit(Key());
    devices->Emit(Button(true));
    std::vector<HookMessage> expected;
    if (c.key) expected.push_back(*c.key);
    if (c.button) expected.push_back(*c.button);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].message, expected[i]);
    if (c.key) {
      EXPECT_TRUE(got[0].keyboard);
      EXPECT_EQ(got[0].wparam, kWmKeyDown);
      EXPECT_EQ(got[0].key.scan_code, 0x1Eu);
    }
  }
  EXPECT_EQ(hook->Value(), 3);
}

TEST_F(Fixture, DevicesServeFirstTheWindowOtherwise) {
  Make(true);
  ASSERT_EQ(hook->Start(0, 4, Target(), true, false), 1);
  EXPECT_FALSE(hook->LimitedToWindow());
  ASSERT_EQ(devices->requests.size(), 1u);
  EXPECT_TRUE(devices->requests[0].keyboard);
  EXPECT_FALSE(devices->requests[0].mouse);

  Make(false);
  ASSERT_EQ(hook->Start(0, 4, Target(), true, true), 1);
  EXPECT_TRUE(hook->LimitedToWindow());
  window->Emit(Key());
  EXPECT_EQ(got.size(), 1u);
}

TEST_F(Fixture, NoSourceForKeysFailsAndRunsNothing) {
  Make(false, false);
  EXPECT_EQ(hook->Start(0, 4, Target(), true, true), 0);
  EXPECT_FALSE(hook->Running());
  EXPECT_EQ(hook->Stop(), 0);
  // Mouse alone: its result is not a failure.
  EXPECT_EQ(hook->Start(0, 4, Target(), false, true), 1);
}

TEST_F(Fixture, StopReportsWhetherKeysWereCapturedAndNothingArrivesAfterIt) {
  Make(true);
  ASSERT_EQ(hook->Start(0, 4, Target(), true, true), 1);
  EXPECT_EQ(hook->Stop(), 1);
  EXPECT_EQ(devices->stops, 1);
  devices->Emit(Key());  // a queued event of the ended capture
  EXPECT_TRUE(got.empty());
  EXPECT_EQ(hook->Stop(), 0);
  ASSERT_EQ(hook->Start(0, 4, Target(), false, true), 1);
  EXPECT_EQ(hook->Stop(), 0) << "no key capture was running";
}

TEST_F(Fixture, ANewStartReplacesTheCapture) {
  Make(true);
  ASSERT_EQ(hook->Start(0, kHookModeKeyCapture, Target(), true, true), 1);
  auto late = Key();
  ASSERT_EQ(hook->Start(0, kHookModeRecordAppend, Target(), true, true), 1);
  EXPECT_EQ(devices->stops, 1);
  devices->Emit(late);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].message, HookMessage::kKeyKbMacro);
}

TEST_F(Fixture, ControlMessageStartsKeyCaptureAndStopsIt) {
  Make(true);
  hook->HandleControlMessage(1, Target());
  EXPECT_TRUE(hook->Running());
  EXPECT_EQ(hook->Mode(), kHookModeKeyCapture);
  EXPECT_EQ(hook->Value(), 0);
  ASSERT_EQ(devices->requests.size(), 1u);
  EXPECT_TRUE(devices->requests[0].keyboard && devices->requests[0].mouse);
  hook->HandleControlMessage(0, Target());
  EXPECT_FALSE(hook->Running());
}

TEST_F(Fixture, MouseEventsWithoutAPointGetTheCursor) {
  Make(true);
  hook->SetPointerPosition([] { return std::make_optional(std::make_pair(640, 480)); });
  ASSERT_EQ(hook->Start(0, 4, Target(), true, true), 1);
  devices->Emit(Button(false));
  devices->Emit(Button(true));
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].mouse.x, 640);
  EXPECT_EQ(got[0].mouse.y, 480);
  EXPECT_EQ(got[1].mouse.x, 5) << "a known point stays";
}

TEST_F(Fixture, TheTargetMayStopTheCaptureFromItsHandler) {
  Make(true);
  ASSERT_EQ(hook->Start(0, 32, [&](const HookEvent& e) { got.push_back(e); hook->Stop(); }, true,
                        true), 1);
  devices->Emit(Key());
  devices->Emit(Key());
  EXPECT_EQ(got.size(), 1u);
  EXPECT_FALSE(hook->Running());
}

}  // namespace
}  // namespace vorlin
