// The macro event model: reading event objects (including damaged ones), the delay texts, the
// fixed delay, the edits of the event list and the events the insert menu and move buttons make.
#include "profiles/macro_events.h"

#include <gtest/gtest.h>

#include "profiles/json_file_io.h"

namespace vorlin {
namespace {

MacroEvent Ev(bool down, int button, int type, int delay = 0) {
  return {down, static_cast<uint8_t>(button), static_cast<uint8_t>(type),
          static_cast<uint16_t>(delay)};
}

TEST(MacroEventParse, ReadsEventObjects) {
  struct Case {
    const char* json;
    std::optional<MacroEvent> expected;
  };
  const Case cases[] = {
      {R"({"Action":"down","Button":4,"Type":10,"Delay":"300"})", Ev(true, 4, 10, 300)},
      {R"({"Action":"up","Button":1,"Type":1,"Delay":"0"})", Ev(false, 1, 1, 0)},
      {R"({"Action":"down","Button":255,"Type":127,"Delay":65535})", Ev(true, 255, 127, 65535)},
      // A delay beyond the limit is held there, not cut to 16 bits (70000 would become 4464).
      {R"({"Action":"down","Button":4,"Type":10,"Delay":"70000"})", Ev(true, 4, 10, 65535)},
      {R"({"Action":"down","Button":4,"Type":10,"Delay":1e12})", Ev(true, 4, 10, 65535)},
      {R"({"Action":"down","Button":4,"Type":10,"Delay":-5})", Ev(true, 4, 10, 0)},
      {R"({"Action":"down","Button":4,"Type":10,"Delay":"abc"})", Ev(true, 4, 10, 0)},
      {R"({"Action":"down","Button":4,"Type":10})", Ev(true, 4, 10, 0)},
      // A press in any case (the gun readers and the device images agree).
      {R"({"Action":"DOWN","Button":4,"Type":10})", Ev(true, 4, 10, 0)},
      {R"({"Action":"downward","Button":4,"Type":10})", Ev(false, 4, 10, 0)},
      {R"({"Button":4,"Type":10,"Delay":" 12 "})", Ev(false, 4, 10, 12)},
      {R"({"Action":"down","Button":256,"Type":10})", std::nullopt},
      {R"({"Action":"down","Button":-1,"Type":10})", std::nullopt},
      {R"({"Action":"down","Button":4,"Type":128})", std::nullopt},
      {R"({"Action":"down","Button":"4","Type":10})", std::nullopt},
      {R"({"Action":"down","Type":10})", std::nullopt},
      {R"([1,2,3])", std::nullopt},
      {R"("down")", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json);
    EXPECT_EQ(ParseMacroEvent(JsonFileIo::ParseJsonText(c.json)), c.expected);
  }
}

TEST(MacroEventParse, WritesTheDelayAsDecimalText) {
  const MacroEvent event = Ev(true, 4, 10, 300);
  const Json::Value json = MacroEventToJson(event);
  EXPECT_EQ(json["Delay"], Json::Value("300"));
  EXPECT_EQ(json["Action"], Json::Value("down"));
  EXPECT_EQ(ParseMacroEvent(json), event);
}

TEST(MacroEventParse, ArraysSkipElementsThatAreNoEvents) {
  const Json::Value events = JsonFileIo::ParseJsonText(
      R"([{"Action":"down","Button":4,"Type":10,"Delay":"5"}, 7, null,
          {"Action":"up","Button":4,"Type":10,"Delay":"0"}])");
  EXPECT_EQ(ParseMacroEvents(events),
            (std::vector<MacroEvent>{Ev(true, 4, 10, 5), Ev(false, 4, 10, 0)}));
  EXPECT_TRUE(ParseMacroEvents(JsonFileIo::ParseJsonText(R"({"a":1})")).empty());
  EXPECT_EQ(ParseMacroEvents(MacroEventsToJson({Ev(true, 1, 1, 9)})),
            (std::vector<MacroEvent>{Ev(true, 1, 1, 9)}));
}

TEST(MacroDelayText, NormalisesTypedDelays) {
  struct Case {
    const char* text;
    std::optional<uint16_t> delay;
  };
  const Case cases[] = {{"", 0},
                        {"0", 0},
                        {"007", 7},
                        {" 120 ", 120},
                        {"65535", 65535},
                        {"65536", 65535},
                        {"999999", 65535},
                        {"99999999999999999999999", 65535},
                        {"-1", std::nullopt},
                        {"1a", std::nullopt},
                        {"1.5", std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseDelayText(c.text), c.delay);
  }
  EXPECT_EQ(DelayOfInterval(70000), 65535);
  EXPECT_EQ(DelayOfInterval(65534), 65534);
  EXPECT_EQ(DelayOfInterval(0), 0);
}

TEST(MacroDelayText, FixedDelayIsHeldBetweenTenAndTheLimit) {
  struct Case {
    const char* text;
    uint16_t value;
    bool raised;
  };
  const Case cases[] = {{"50", 50, false},       {"10", 10, false},       {"9", 10, true},
                        {"0", 10, true},         {"", 10, true},          {"abc", 10, true},
                        {"70000", 65535, false}, {"65535", 65535, false}, {"25ms", 25, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const FixedDelay fixed = ParseFixedDelay(c.text);
    EXPECT_EQ(fixed.value, c.value);
    EXPECT_EQ(fixed.raised, c.raised);
  }
}

// A list of events whose buttons are 1, 2, 3, ... so that their order is visible.
MacroEventList Numbered(int count, int selected) {
  MacroEventList list;
  for (int i = 1; i <= count; ++i) list.events.push_back(Ev(true, i, 10));
  list.selected = selected;
  return list;
}

std::vector<int> Order(const MacroEventList& list) {
  std::vector<int> order;
  for (const MacroEvent& e : list.events) order.push_back(e.button);
  return order;
}

TEST(MacroEventListEdits, MovesTheSelectedEvent) {
  struct Case {
    int selected;
    EventMove move;
    bool moved;
    std::vector<int> order;
    int now_selected;
  };
  const Case cases[] = {
      {1, EventMove::kUp, true, {2, 1, 3, 4}, 0},
      {0, EventMove::kUp, false, {1, 2, 3, 4}, 0},
      {1, EventMove::kDown, true, {1, 3, 2, 4}, 2},
      {3, EventMove::kDown, false, {1, 2, 3, 4}, 3},
      {2, EventMove::kTop, true, {3, 1, 2, 4}, 0},
      {1, EventMove::kBottom, true, {1, 3, 4, 2}, 3},
      {-1, EventMove::kDown, false, {1, 2, 3, 4}, -1},
      {7, EventMove::kUp, false, {1, 2, 3, 4}, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "selected " << c.selected << " move " << static_cast<int>(c.move));
    MacroEventList list = Numbered(4, c.selected);
    EXPECT_EQ(MoveSelectedEvent(list, c.move), c.moved);
    EXPECT_EQ(Order(list), c.order);
    EXPECT_EQ(list.selected, c.now_selected);
  }
}

TEST(MacroEventListEdits, DeletesAndKeepsASelection) {
  MacroEventList list = Numbered(3, 2);
  EXPECT_TRUE(DeleteSelectedEvent(list));
  EXPECT_EQ(Order(list), (std::vector<int>{1, 2}));
  EXPECT_EQ(list.selected, 1);
  list.selected = 0;
  EXPECT_TRUE(DeleteSelectedEvent(list));
  EXPECT_EQ(Order(list), (std::vector<int>{2}));
  EXPECT_EQ(list.selected, 0);
  EXPECT_TRUE(DeleteSelectedEvent(list));
  EXPECT_EQ(list.selected, -1);
  EXPECT_FALSE(DeleteSelectedEvent(list));

  list = Numbered(3, 1);
  EXPECT_TRUE(DeleteAllEvents(list));
  EXPECT_TRUE(list.events.empty());
  EXPECT_EQ(list.selected, -1);
  EXPECT_FALSE(DeleteAllEvents(list));
}

TEST(MacroEventListEdits, InsertsAfterTheSelectionWithTheFixedDelay) {
  const std::vector<MacroEvent> click = *MouseMenuEvents("left_click");
  struct Case {
    int count;
    int selected;
    std::vector<int> order;  // buttons; the left button is 1, numbered rows start at 1 too
    int now_selected;
  };
  // Numbered rows are keys (type 10); the inserted rows are told apart by their type below.
  const Case cases[] = {
      {0, -1, {1, 1}, 1},           // into an empty list: at the start
      {3, -1, {1, 1, 1, 2, 3}, 2},  // none selected: after the first
      {3, 1, {1, 2, 1, 1, 3}, 3},   // after the selected one
      {3, 2, {1, 2, 3, 1, 1}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.count << " rows, selected " << c.selected);
    MacroEventList list = Numbered(c.count, c.selected);
    ASSERT_TRUE(InsertEventsAfterSelection(list, click, 75));
    EXPECT_EQ(Order(list), c.order);
    EXPECT_EQ(list.selected, c.now_selected);
    const MacroEvent& release = list.events[static_cast<size_t>(c.now_selected)];
    const MacroEvent& press = list.events[static_cast<size_t>(c.now_selected - 1)];
    EXPECT_EQ(press, Ev(true, kMacroLeft, kMacroMouseButton, 75));
    EXPECT_EQ(release, Ev(false, kMacroLeft, kMacroMouseButton, 75));
  }
}

TEST(MacroEventListEdits, InsertionStopsAtTheEventLimitWithoutSplittingAClick) {
  MacroEventList list = Numbered(kMaxMacroEvents - 1, 0);
  EXPECT_FALSE(InsertEventsAfterSelection(list, *MouseMenuEvents("right_click"), 50));
  EXPECT_EQ(list.Count(), kMaxMacroEvents - 1);
  EXPECT_TRUE(InsertEventsAfterSelection(list, *MouseMenuEvents("right_down"), 50));
  EXPECT_EQ(list.Count(), kMaxMacroEvents);
  EXPECT_FALSE(InsertEventsAfterSelection(list, {PointerMove(MoveDirection::kLeft, 5)}, 50));
  EXPECT_EQ(list.Count(), kMaxMacroEvents);
}

TEST(MacroMenuEvents, NamesGiveButtonsAndActions) {
  struct Case {
    const char* item;
    std::optional<std::vector<MacroEvent>> events;
  };
  const Case cases[] = {
      {"left_down", std::vector<MacroEvent>{Ev(true, 0x01, 1)}},
      {"right_up", std::vector<MacroEvent>{Ev(false, 0x02, 1)}},
      {"middle_click", std::vector<MacroEvent>{Ev(true, 0x04, 1), Ev(false, 0x04, 1)}},
      {"forward_down", std::vector<MacroEvent>{Ev(true, 0x10, 1)}},
      {"back_click", std::vector<MacroEvent>{Ev(true, 0x08, 1), Ev(false, 0x08, 1)}},
      {"left_", std::nullopt},
      {"left_press", std::nullopt},
      {"up_down", std::nullopt},
      {"redio_later_record_time", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(MouseMenuEvents(c.item), c.events);
  }
}

TEST(MacroMenuEvents, PointerMovesByDirection) {
  EXPECT_EQ(PointerMove(MoveDirection::kLeft, 10), Ev(true, 10, kMacroMoveX));
  EXPECT_EQ(PointerMove(MoveDirection::kRight, 10), Ev(false, 10, kMacroMoveX));
  EXPECT_EQ(PointerMove(MoveDirection::kUp, 3), Ev(true, 3, kMacroMoveY));
  EXPECT_EQ(PointerMove(MoveDirection::kDown, 3), Ev(false, 3, kMacroMoveY));
  // A distance is held within a byte, not wrapped.
  EXPECT_EQ(PointerMove(MoveDirection::kLeft, 300).button, 255);
  EXPECT_EQ(PointerMove(MoveDirection::kLeft, -4).button, 0);
}

}  // namespace
}  // namespace vorlin
