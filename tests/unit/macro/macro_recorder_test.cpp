// Recording scenarios fed as captured events: record-time delays and the long pause, held keys,
// repeated mouse messages, the stop click, each placement and delay mode, and the event limit.
#include "macro/macro_recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorlin {
namespace {

constexpr uint32_t kScanA = 0x1E;
constexpr uint32_t kScanB = 0x30;
constexpr uint32_t kScanCtrl = 0x1D;

HookEvent KeyEvent(uint32_t scan, bool down, bool extended = false,
                   HookMessage message = HookMessage::kKeyKbMacro) {
  HookEvent event;
  event.message = message;
  event.keyboard = true;
  event.wparam = down ? kWmKeyDown : kWmKeyUp;
  event.key.scan_code = scan;
  event.key.flags = (extended ? kKeyFlagExtended : 0) | (down ? 0 : kKeyFlagUp);
  return event;
}

HookEvent MouseEvent(uint32_t message, int x = 500, int y = 500, uint16_t xbutton = 0,
                     HookMessage hook = HookMessage::kKeyMsMacro) {
  HookEvent event;
  event.message = hook;
  event.keyboard = false;
  event.wparam = message;
  event.mouse.x = x;
  event.mouse.y = y;
  event.mouse.has_point = true;
  event.mouse.mouse_data = static_cast<uint32_t>(xbutton) << 16;
  return event;
}

MacroEvent Ev(bool down, int button, int type, int delay) {
  return {down, static_cast<uint8_t>(button), static_cast<uint8_t>(type),
          static_cast<uint16_t>(delay)};
}

constexpr int kA = 0x04;  // usage of A
constexpr int kB = 0x05;

TEST(MacroEventOfHookEvent, MapsKeysAndButtonsThroughTheTables) {
  struct Case {
    const char* what;
    HookEvent event;
    std::optional<MacroEvent> expected;
  };
  HookEvent sys_down = KeyEvent(kScanA, true);
  sys_down.wparam = kWmSysKeyDown;
  HookEvent wide_scan = KeyEvent(0x11E, true);
  const Case cases[] = {
      {"A down", KeyEvent(kScanA, true), Ev(true, kA, 10, 0)},
      {"A up", KeyEvent(kScanA, false), Ev(false, kA, 10, 0)},
      {"A sys down", sys_down, Ev(true, kA, 10, 0)},
      {"Enter", KeyEvent(0x1C, true), Ev(true, 0x28, 10, 0)},
      {"numpad Enter", KeyEvent(0x1C, true, true), Ev(true, 0x58, 10, 0)},
      {"left Ctrl", KeyEvent(kScanCtrl, true), Ev(true, 0x01, 9, 0)},
      {"right Ctrl", KeyEvent(kScanCtrl, true, true), Ev(true, 0x10, 9, 0)},
      {"unknown scan", KeyEvent(0x6F, true), std::nullopt},
      {"scan above a byte", wide_scan, std::nullopt},
      {"left down", MouseEvent(kWmLButtonDown), Ev(true, 0x01, 1, 0)},
      {"right up", MouseEvent(kWmRButtonUp), Ev(false, 0x02, 1, 0)},
      {"middle down", MouseEvent(kWmMButtonDown), Ev(true, 0x04, 1, 0)},
      {"forward", MouseEvent(kWmXButtonDown, 0, 0, kXButtonForward), Ev(true, 0x10, 1, 0)},
      {"back up", MouseEvent(kWmXButtonUp, 0, 0, kXButtonBack), Ev(false, 0x08, 1, 0)},
      {"X button 3", MouseEvent(kWmXButtonDown, 0, 0, 3), std::nullopt},
      {"wheel", MouseEvent(kWmMouseWheel), std::nullopt},
      {"move", MouseEvent(kWmMouseMove), std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MacroEventOfHookEvent(c.event), c.expected);
  }
}

class RecorderTest : public ::testing::Test {
 protected:
  void Start(RecordPlacement placement, DelayMode mode, uint64_t now = 1000, uint16_t fixed = 40) {
    recorder_.Start(placement, mode, fixed, now, list_);
  }
  MacroRecorder::Result Feed(const HookEvent& event, uint64_t now) {
    return recorder_.Feed(event, now, list_);
  }

  MacroRecorder recorder_;
  MacroEventList list_;
};

using Result = MacroRecorder::Result;

TEST_F(RecorderTest, RecordTimeGivesEachEventTheTimeUntilTheNext) {
  Start(RecordPlacement::kAppend, DelayMode::kRecordTime, 1000);
  EXPECT_EQ(Feed(KeyEvent(kScanA, true), 1300), Result::kAdded);
  EXPECT_EQ(Feed(KeyEvent(kScanA, false), 1420), Result::kAdded);
  EXPECT_EQ(list_.events, (std::vector<MacroEvent>{Ev(true, kA, 10, 120), Ev(false, kA, 10, 0)}));
  EXPECT_EQ(list_.selected, 1);
  // A 70-second pause is held at 65535.
  EXPECT_EQ(Feed(KeyEvent(kScanB, true), 1420 + 70000), Result::kAdded);
  EXPECT_EQ(list_.events[1].delay, 65535);
  EXPECT_EQ(list_.events[2].delay, 0);
}

TEST_F(RecorderTest, RowsBeforeTheSessionKeepTheirDelays) {
  list_.events = {Ev(true, kB, 10, 333)};
  Start(RecordPlacement::kAppend, DelayMode::kRecordTime, 0);
  ASSERT_EQ(Feed(KeyEvent(kScanA, true), 5000), Result::kAdded);
  EXPECT_EQ(list_.events[0].delay, 333);
  recorder_.Stop();
  // A second session neither: the first row it records follows a row it did not record.
  Start(RecordPlacement::kAppend, DelayMode::kIgnore, 6000);
  ASSERT_EQ(Feed(KeyEvent(kScanA, false), 9000), Result::kAdded);
  EXPECT_EQ(list_.events[0].delay, 333);
}

TEST_F(RecorderTest, HeldKeysAreRecordedOnce) {
  Start(RecordPlacement::kAppend, DelayMode::kIgnore);
  EXPECT_EQ(Feed(KeyEvent(kScanA, true), 1010), Result::kAdded);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Feed(KeyEvent(kScanA, true), 1100 + i), Result::kRepeat);
  // Another key pressed and released while A is still held: A's repeats stay suppressed.
  EXPECT_EQ(Feed(KeyEvent(kScanB, true), 1200), Result::kAdded);
  EXPECT_EQ(Feed(KeyEvent(kScanB, false), 1210), Result::kAdded);
  EXPECT_EQ(Feed(KeyEvent(kScanA, true), 1220), Result::kRepeat);
  EXPECT_EQ(Feed(KeyEvent(kScanA, false), 1300), Result::kAdded);
  // Pressed again after the release: a new press.
  EXPECT_EQ(Feed(KeyEvent(kScanA, true), 1400), Result::kAdded);
  EXPECT_EQ(list_.Count(), 5);
  // Left and right Ctrl are different keys.
  EXPECT_EQ(Feed(KeyEvent(kScanCtrl, true), 1500), Result::kAdded);
  EXPECT_EQ(Feed(KeyEvent(kScanCtrl, true, true), 1510), Result::kAdded);
}

TEST_F(RecorderTest, TheSameMouseMessageTwiceIsTakenOnce) {
  Start(RecordPlacement::kAppend, DelayMode::kIgnore);
  EXPECT_EQ(Feed(MouseEvent(kWmLButtonDown), 1001), Result::kAdded);
  EXPECT_EQ(Feed(MouseEvent(kWmLButtonDown), 1002), Result::kRepeat);
  EXPECT_EQ(Feed(MouseEvent(kWmLButtonUp), 1003), Result::kAdded);
  EXPECT_EQ(Feed(MouseEvent(kWmLButtonDown), 1004), Result::kAdded);
  EXPECT_EQ(list_.Count(), 3);
}

TEST_F(RecorderTest, TheStopClickIsNotRecorded) {
  recorder_.SetStopButton(ScreenRect{100, 200, 80, 30});
  Start(RecordPlacement::kAppend, DelayMode::kIgnore);
  EXPECT_EQ(Feed(MouseEvent(kWmLButtonDown, 100, 200), 1001), Result::kStopClick);
  EXPECT_EQ(Feed(MouseEvent(kWmLButtonUp, 179, 229), 1002), Result::kStopClick);
  // Just outside, another button inside, or a press without a point: recorded.
  EXPECT_EQ(Feed(MouseEvent(kWmLButtonDown, 180, 200), 1003), Result::kAdded);
  EXPECT_EQ(Feed(MouseEvent(kWmRButtonDown, 120, 210), 1004), Result::kAdded);
  HookEvent pointless = MouseEvent(kWmLButtonUp, 120, 210);
  pointless.mouse.has_point = false;
  EXPECT_EQ(Feed(pointless, 1005), Result::kAdded);
  EXPECT_EQ(list_.Count(), 3);
}

TEST_F(RecorderTest, DelayModes) {
  struct Case {
    DelayMode mode;
    std::vector<int> delays;
  };
  // Events at 1100, 1250, 1300 after a start at 1000; fixed delay 40.
  const Case cases[] = {
      {DelayMode::kRecordTime, {150, 50, 0}},
      {DelayMode::kConstant, {40, 40, 40}},
      {DelayMode::kIgnore, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    list_ = {};
    Start(RecordPlacement::kAppend, c.mode, 1000, 40);
    Feed(KeyEvent(kScanA, true), 1100);
    Feed(KeyEvent(kScanA, false), 1250);
    Feed(KeyEvent(kScanB, true), 1300);
    std::vector<int> delays;
    for (const MacroEvent& e : list_.events) delays.push_back(e.delay);
    EXPECT_EQ(delays, c.delays);
  }
}

// Rows 1, 2, 3 (key usages), row `selected` selected; then A down, A up recorded 100 ms apart.
struct PlacementCase {
  RecordPlacement placement;
  int selected;
  std::vector<std::pair<int, bool>> rows;  // (button, down) in order
  int now_selected;
};

TEST_F(RecorderTest, PlacementsKeepTheRecordedOrder) {
  const PlacementCase cases[] = {
      {RecordPlacement::kAppend, 1, {{1, true}, {2, true}, {3, true}, {kA, true}, {kA, false}}, 4},
      {RecordPlacement::kBefore, 1, {{1, true}, {kA, true}, {kA, false}, {2, true}, {3, true}}, 2},
      {RecordPlacement::kBefore, 0, {{kA, true}, {kA, false}, {1, true}, {2, true}, {3, true}}, 1},
      {RecordPlacement::kAfter, 1, {{1, true}, {2, true}, {kA, true}, {kA, false}, {3, true}}, 3},
      {RecordPlacement::kAfter, 2, {{1, true}, {2, true}, {3, true}, {kA, true}, {kA, false}}, 4},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(c.placement) << " at " << c.selected);
    list_ = {};
    for (int b = 1; b <= 3; ++b) list_.events.push_back(Ev(true, b, 10, 7));
    list_.selected = c.selected;
    Start(c.placement, DelayMode::kRecordTime, 1000);
    ASSERT_EQ(Feed(KeyEvent(kScanA, true), 1050), Result::kAdded);
    ASSERT_EQ(Feed(KeyEvent(kScanA, false), 1150), Result::kAdded);
    std::vector<std::pair<int, bool>> rows;
    for (const MacroEvent& e : list_.events) rows.emplace_back(e.button, e.down);
    EXPECT_EQ(rows, c.rows);
    EXPECT_EQ(list_.selected, c.now_selected);
    // The recorded press waits the 100 ms until the release; the rows that were there keep 7.
    const int press = c.now_selected - 1;
    EXPECT_EQ(list_.events[static_cast<size_t>(press)].delay, 100);
    for (const MacroEvent& e : list_.events) {
      if (e.button != kA) {
        EXPECT_EQ(e.delay, 7);
      }
    }
  }
}

TEST_F(RecorderTest, InsertingNeedsASelectedEvent) {
  for (RecordPlacement placement :
       {RecordPlacement::kBefore, RecordPlacement::kAfter, RecordPlacement::kReplace}) {
    list_ = {};
    list_.events = {Ev(true, 1, 10, 0)};
    list_.selected = -1;
    Start(placement, DelayMode::kIgnore);
    EXPECT_EQ(Feed(KeyEvent(kScanA, true), 1001), Result::kNoTarget);
    EXPECT_EQ(list_.Count(), 1);
  }
}

TEST_F(RecorderTest, ReplaceTakesOneEventAndKeepsTheDelay) {
  list_.events = {Ev(true, 1, 10, 11), Ev(false, 1, 10, 22), Ev(true, 2, 10, 33)};
  list_.selected = 1;
  Start(RecordPlacement::kReplace, DelayMode::kIgnore);
  ASSERT_EQ(Feed(MouseEvent(kWmRButtonDown), 1200), Result::kAdded);
  // The release of the same click does not overwrite the replacement.
  EXPECT_EQ(Feed(MouseEvent(kWmRButtonUp), 1300), Result::kNoTarget);
  EXPECT_EQ(list_.events, (std::vector<MacroEvent>{Ev(true, 1, 10, 11), Ev(true, 0x02, 1, 22),
                                                   Ev(true, 2, 10, 33)}));
  EXPECT_EQ(list_.selected, 1);
}

TEST_F(RecorderTest, FullListsAndOtherMessagesTakeNothing) {
  for (int i = 0; i < kMaxMacroEvents; ++i) list_.events.push_back(Ev(true, 1, 10, 0));
  Start(RecordPlacement::kAppend, DelayMode::kIgnore);
  EXPECT_EQ(Feed(KeyEvent(kScanA, true), 1001), Result::kFull);
  EXPECT_EQ(list_.Count(), kMaxMacroEvents);

  list_ = {};
  EXPECT_EQ(Feed(KeyEvent(kScanB, true, false, HookMessage::kKeySingleKey), 1002),
            Result::kUnknown);
  EXPECT_EQ(Feed(KeyEvent(0x6F, true), 1003), Result::kUnknown);
  recorder_.Stop();
  EXPECT_EQ(Feed(KeyEvent(kScanB, true), 1004), Result::kIdle);
  EXPECT_TRUE(list_.events.empty());
}

TEST(RecordPlacementModes, EachPlacementRecordsInItsHookMode) {
  const std::pair<RecordPlacement, int> cases[] = {{RecordPlacement::kAppend, 4},
                                                   {RecordPlacement::kBefore, 8},
                                                   {RecordPlacement::kAfter, 16},
                                                   {RecordPlacement::kReplace, 32}};
  for (const auto& [placement, mode] : cases) EXPECT_EQ(HookModeOfPlacement(placement), mode);
}

}  // namespace
}  // namespace vorlin
