// The editing flow of the key-assignment panel against a device stand-in: selecting keys, the
// panel's buttons, writing to the device and capturing keys.

#include <gtest/gtest.h>

#include <ostream>

#include "key_set_test_support.h"

namespace vorlin::testing {
namespace {

using Calls = std::vector<std::string>;

// ---- Selecting a key ----

struct SelectCase {
  const char* name;
  int device_kind;
  std::vector<uint32_t> currents;  // the keys' current codes (factory codes: left button)
  int index;
  bool readable;
  KeySelection expected;
  bool message;  // "message_text_6" shown
  friend void PrintTo(const SelectCase& c, std::ostream* os) { *os << c.name; }
};

class SelectKeyTest : public KeySetFixture, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(SelectKeyTest, FollowsTheSelectionRule) {
  const SelectCase& c = GetParam();
  host_.kind = c.device_kind;
  host_.keys.clear();
  for (size_t i = 0; i < c.currents.size(); ++i)
    host_.keys.push_back(Pair(static_cast<uint16_t>(i), c.currents[i], 0x100100));
  host_.readable = c.readable;
  panel_->ShowAssignment(Pair(99, 0x130300, 0x130300));

  EXPECT_EQ(flow_->SelectKey(c.index), c.expected);

  const bool selected = c.expected == KeySelection::kSelect;
  EXPECT_EQ(host_.selected, selected ? c.index : -1);
  if (selected) {
    EXPECT_EQ(panel_->Pair(), host_.keys[static_cast<size_t>(c.index)]);
  } else {
    EXPECT_EQ(panel_->Pair().current.key_index, 99) << "the panel keeps what it showed";
  }
  ASSERT_EQ(host_.messages.size(), c.message ? 1u : 0u);
  if (c.message) {
    EXPECT_EQ(host_.messages[0].first, QStringLiteral("message_text_6"));
  }
}

const SelectCase kSelectCases[] = {
    {"MouseOtherButton", kKeySetMouse, {0x100100, 0x100200}, 1, true, KeySelection::kSelect, false},
    {"MouseOnlyLeftButton",
     kKeySetMouse,
     {0x100100, 0x100200},
     0,
     true,
     KeySelection::kOnlyLeftButton,
     true},
    {"MouseOneOfTwoLeftButtons",
     kKeySetMouse,
     {0x100100, 0x100200, 0x100100},
     0,
     true,
     KeySelection::kSelect,
     false},
    {"MouseWithoutAnyLeftButton",
     kKeySetMouse,
     {0x100200, 0x100400},
     0,
     true,
     KeySelection::kSelect,
     false},
    {"KeyboardNeverRefuses",
     kKeySetKeyboard,
     {0x100100, 0x200004},
     0,
     true,
     KeySelection::kSelect,
     false},
    {"UnreadableProfile",
     kKeySetMouse,
     {0x100100, 0x100200},
     1,
     false,
     KeySelection::kProfileUnreadable,
     false},
    {"IndexBeyondTheList",
     kKeySetMouse,
     {0x100100, 0x100200},
     2,
     true,
     KeySelection::kNoSuchKey,
     false},
    {"NegativeIndex", kKeySetMouse, {0x100100}, -1, true, KeySelection::kNoSuchKey, false},
};

INSTANTIATE_TEST_SUITE_P(Keys, SelectKeyTest, ::testing::ValuesIn(kSelectCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Save, cancel, default ----

TEST_F(KeySetFixture, SaveStoresTheChosenFunctionAndWaitsForApply) {
  ASSERT_EQ(flow_->SelectKey(2), KeySelection::kSelect);
  ChooseKind(4);
  Choose("keyset_mousedpi_combo", 1);
  host_.calls.clear();
  Click("key_butt_keysave");
  EXPECT_EQ(host_.calls, (Calls{"SetKeyEntry(130200)", "RefreshKeyList"}));
  EXPECT_EQ(host_.keys[2], Pair(2, 0x130200, 0x100400));
  EXPECT_TRUE(panel_->EditingButtonsEnabled());
  EXPECT_TRUE(router_.handled.contains(QStringLiteral("click:key_butt_keysave")));
}

TEST_F(KeySetFixture, SaveWithoutAShownKeyStoresNothing) {
  // Nothing selected yet.
  Click("key_butt_keysave");
  // Selected on the page, but the panel still shows another key.
  ASSERT_EQ(flow_->SelectKey(1), KeySelection::kSelect);
  host_.selected = 3;
  Click("key_butt_keysave");
  EXPECT_EQ(host_.keys, MouseKeys());
  EXPECT_FALSE(panel_->EditingButtonsEnabled());
  for (const std::string& call : host_.calls)
    EXPECT_EQ(call.find("SetKeyEntry"), std::string::npos) << call;
}

TEST_F(KeySetFixture, CancelShowsTheStoredFunctionAgain) {
  ASSERT_EQ(flow_->SelectKey(1), KeySelection::kSelect);
  ChooseKind(3);
  Click("key_butt_keysave");
  ChooseKind(8);
  Choose("keyset_system_combo", 2);
  Click("key_butt_keycancel");
  EXPECT_EQ(panel_->SelectedKind(), 3) << "the function saved last";
  EXPECT_EQ(CurrentPage(), 3);
  EXPECT_FALSE(panel_->EditingButtonsEnabled());
}

TEST_F(KeySetFixture, DefaultOnTheMouseWaitsForSaveAndApply) {
  host_.keys[1] = Pair(1, 0x400100, 0x100200);
  ASSERT_EQ(flow_->SelectKey(1), KeySelection::kSelect);
  host_.calls.clear();
  Click("key_butt_keydefalut");
  EXPECT_EQ(panel_->SelectedKind(), 0);
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_TRUE(panel_->EditingButtonsEnabled());
  Click("key_butt_keysave");
  EXPECT_EQ(host_.keys[1], Pair(1, 0x100200, 0x100200));
}

TEST_F(KeySetFixture, DefaultOnTheKeyboardIsSavedAndAppliedAtOnce) {
  SetDeviceKind(kKeySetKeyboard);
  host_.keys[2] = Pair(12, 0x200204, 0x200029);
  ASSERT_EQ(flow_->SelectKey(2), KeySelection::kSelect);
  host_.calls.clear();
  Click("key_butt_keydefalut");
  EXPECT_EQ(host_.keys[2], Pair(12, 0x200029, 0x200029));
  EXPECT_EQ(host_.calls, (Calls{"SetKeyEntry(200029)", "RefreshKeyList", "ApplyKeyAssignments",
                                "ShowChangedKeys"}));
  EXPECT_FALSE(panel_->EditingButtonsEnabled());
}

// ---- Apply ----

struct ApplyCase {
  const char* name;
  int download_result;
  bool store_ok;
  Calls calls;
  std::vector<std::pair<const char*, std::optional<int>>> messages;
  bool still_pending;
  friend void PrintTo(const ApplyCase& c, std::ostream* os) { *os << c.name; }
};

class ApplyTest : public KeySetFixture, public ::testing::WithParamInterface<ApplyCase> {};

TEST_P(ApplyTest, TellsWhatTheDeviceCouldNotTake) {
  const ApplyCase& c = GetParam();
  ASSERT_EQ(flow_->SelectKey(1), KeySelection::kSelect);
  Click("key_butt_keysave");
  host_.calls.clear();
  host_.download_result = c.download_result;
  host_.store_ok = c.store_ok;

  Click("key_butt_prosave");

  EXPECT_EQ(host_.calls, c.calls);
  ASSERT_EQ(host_.messages.size(), c.messages.size());
  for (size_t i = 0; i < c.messages.size(); ++i) {
    EXPECT_EQ(host_.messages[i].first, QString::fromLatin1(c.messages[i].first));
    EXPECT_EQ(host_.messages[i].second, c.messages[i].second);
  }
  EXPECT_EQ(panel_->EditingButtonsEnabled(), c.still_pending);
}

const ApplyCase kApplyCases[] = {
    {"Written", 0, true, {"ApplyKeyAssignments", "ShowChangedKeys"}, {}, false},
    {"MacrosNotWrittenKeysStillAre",
     -1,
     true,
     {"ApplyKeyAssignments", "ShowMessage(message_text_7)", "ShowChangedKeys"},
     {{"message_text_7", std::nullopt}},
     false},
    {"MacrosTooLargeWritesNothing",
     17,
     true,
     {"ApplyKeyAssignments", "ShowMessage(message_text_16)"},
     {{"message_text_16", 17}},
     true},
    {"MacrosAndKeyTableRefusedStayPending",
     -1,
     false,
     {"ApplyKeyAssignments", "ShowMessage(message_text_7)", "ShowChangedKeys",
      "ShowMessage(keyset_apply_failed_text)"},
     {{"message_text_7", std::nullopt}, {"keyset_apply_failed_text", std::nullopt}},
     true},
    {"KeyTableNotWrittenStaysPending",
     0,
     false,
     {"ApplyKeyAssignments", "ShowChangedKeys", "ShowMessage(keyset_apply_failed_text)"},
     {{"keyset_apply_failed_text", std::nullopt}},
     true},
};

INSTANTIATE_TEST_SUITE_P(Results, ApplyTest, ::testing::ValuesIn(kApplyCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Key capture ----

struct CaptureCase {
  const char* name;
  std::optional<int> checked_before;  // modifier option checked before the key
  ScanCode scan;
  uint32_t stored;
  int checked_after;
  const char* key_text;
  friend void PrintTo(const CaptureCase& c, std::ostream* os) { *os << c.name; }
};

class CaptureTest : public KeySetFixture, public ::testing::WithParamInterface<CaptureCase> {};

TEST_P(CaptureTest, TakesTheKeyAndSavesIt) {
  const CaptureCase& c = GetParam();
  ASSERT_EQ(flow_->SelectKey(1), KeySelection::kSelect);
  ChooseKind(6);
  if (c.checked_before)
    Click(QStringLiteral("key_ComBox_check_%1").arg(*c.checked_before).toLatin1().constData());

  // The capture reports the press and the release alike: both store the same code.
  for (int event = 0; event < 2; ++event) {
    ASSERT_TRUE(flow_->ApplyCapturedKey(c.scan)) << "event " << event;
    EXPECT_EQ(Hex(CurrentCode(host_.keys[1])), Hex(c.stored)) << "event " << event;
    EXPECT_EQ(KeyText(), QString::fromUtf8(c.key_text)) << "event " << event;
    for (int n = 0; n < 5; ++n) EXPECT_EQ(Checked(n), n == c.checked_after) << "option " << n;
  }
  EXPECT_TRUE(panel_->EditingButtonsEnabled());
}

const CaptureCase kCaptureCases[] = {
    {"AWithoutModifier", std::nullopt, {0x1E, false}, 0x200004, 0, "A"},
    {"AWithShift", 2, {0x1E, false}, 0x200204, 2, "A"},
    {"AWithWin", 4, {0x1E, false}, 0x200804, 4, "A"},
    {"RightCtrlAlone", std::nullopt, {0x1D, true}, 0x200100, 1, ""},
    {"LeftAltAlone", 0, {0x38, false}, 0x200400, 3, ""},
    {"RightShiftAlone", std::nullopt, {0x36, true}, 0x200200, 2, ""},
    {"NumEnterIsExtended", std::nullopt, {0x1C, true}, 0x200058, 0, "Num Enter"},
    {"EnterIsNot", std::nullopt, {0x1C, false}, 0x200028, 0, "Enter"},
};

INSTANTIATE_TEST_SUITE_P(Keys, CaptureTest, ::testing::ValuesIn(kCaptureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeySetFixture, CapturedModifierThenKeyCombines) {
  ASSERT_EQ(flow_->SelectKey(1), KeySelection::kSelect);
  ChooseKind(6);
  ASSERT_TRUE(flow_->ApplyCapturedKey({0x1D, false}));  // left Ctrl
  ASSERT_TRUE(flow_->ApplyCapturedKey({0x2E, false}));  // C
  EXPECT_EQ(Hex(CurrentCode(host_.keys[1])), Hex(0x200106));
  EXPECT_EQ(KeyText(), QStringLiteral("C"));
}

TEST_F(KeySetFixture, UnknownOrMisplacedKeysChangeNothing) {
  ASSERT_EQ(flow_->SelectKey(1), KeySelection::kSelect);
  ChooseKind(6);
  ASSERT_TRUE(flow_->ApplyCapturedKey({0x1E, false}));
  host_.calls.clear();
  // Not a key of the keyboard key table (a media key's scan code; Num Lock without the flag).
  EXPECT_FALSE(flow_->ApplyCapturedKey({0x22, true}));
  EXPECT_FALSE(flow_->ApplyCapturedKey({0x7F, false}));
  EXPECT_EQ(KeyText(), QStringLiteral("A"));
  EXPECT_TRUE(Checked(0));
  // Another function kind is chosen: the key edit is not in view.
  ChooseKind(1);
  EXPECT_FALSE(flow_->ApplyCapturedKey({0x30, false}));
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(Hex(CurrentCode(host_.keys[1])), Hex(0x200004));
}

}  // namespace
}  // namespace vorlin::testing
