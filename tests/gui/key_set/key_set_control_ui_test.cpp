// The key-assignment panel: showing a pair fills the controls of its function's kind, reading the
// controls back gives the code again, and the panel's own reactions to its controls.

#include <gtest/gtest.h>

#include <ostream>

#include <QListView>
#include <QSignalSpy>
#include <QTest>

#include "key_set_test_support.h"

namespace vorlin::testing {
namespace {

// What a control shows, in one word: a combo's item index, an edit's text, an option's state, or
// whether a container is shown.
QString Shown(const QWidget* control) {
  if (!control) return QStringLiteral("<missing>");
  if (auto* combo = qobject_cast<const QComboBox*>(control))
    return QString::number(combo->currentIndex());
  if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(control))
    return button->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
  return control->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown");
}

struct ShowCase {
  const char* name;
  uint32_t current;
  uint32_t factory;
  int macro_count;
  int kind;  // the selected function item's tag and the page shown; -1: the panel is hidden
  std::vector<std::pair<const char*, const char*>> controls;  // control name → Shown()
  uint32_t read_back;  // the current code after reading the controls untouched
  friend void PrintTo(const ShowCase& c, std::ostream* os) { *os << c.name; }
};

class ShowAssignmentTest : public KeySetFixture, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(ShowAssignmentTest, FillsTheKindsControlsAndReadsBackTheCode) {
  const ShowCase& c = GetParam();
  QStringList macros;
  for (int i = 0; i < c.macro_count; ++i) macros << QStringLiteral("Macro %1").arg(i);
  panel_->SetMacroNames(macros);

  panel_->ShowAssignment(Pair(7, c.current, c.factory));

  QWidget* whole = Find("keyset_layout");
  ASSERT_NE(whole, nullptr);
  if (c.kind < 0) {
    EXPECT_TRUE(whole->isHidden());
  } else {
    EXPECT_FALSE(whole->isHidden());
    EXPECT_EQ(panel_->SelectedKind(), c.kind);
    EXPECT_EQ(CurrentPage(), c.kind);
  }
  for (const auto& [control, expected] : c.controls)
    EXPECT_EQ(Shown(Find(control)), QString::fromUtf8(expected)) << control;

  const KeyAssignmentPair read = panel_->ReadAssignment();
  EXPECT_EQ(Hex(CurrentCode(read)), Hex(c.read_back));
  EXPECT_EQ(read.current.key_index, 7);
  EXPECT_EQ(read.factory, Assignment(7, c.factory));
}

const ShowCase kShowCases[] = {
    {"VerticalScrollDown", 0x12479B, 0x100400, 0, 3,
     {{"keyset_mousewheel_combo", "1"},
      {"keyset_mousewheel_delay_edit", "4"},
      {"keyset_mousewheel_speed_edit", "7"},
      {"keyset_mousewheel_num_edit", "101"}},
     0x12479B},
    {"VerticalScrollUp", 0x121203, 0x100400, 0, 3,
     {{"keyset_mousewheel_combo", "0"}, {"keyset_mousewheel_num_edit", "3"}},
     0x121203},
    {"HorizontalScrollRight", 0x112385, 0x100400, 0, 2,
     {{"keyset_mouseswing_combo", "1"},
      {"keyset_mouseswing_delay_edit", "2"},
      {"keyset_mouseswing_speed_edit", "3"},
      {"keyset_mouseswing_num_edit", "5"}},
     0x112385},
    {"Fire", 0x143203, 0x100100, 0, 5,
     {{"keyset_mousefire_interval_edit", "50"}, {"keyset_mousefire_num_edit", "3"}},
     0x143203},
    {"ShiftWithKey", 0x200204, 0x100400, 0, 6,
     {{"key_ComBox_check_2", "on"}, {"key_ComBox_check_0", "off"},
      {"keyset_keyboard_text_edit", "A"}},
     0x200204},
    // The right Shift shows as the Shift option and is stored as the left one.
    {"RightShiftWithKey", 0x202004, 0x100400, 0, 6,
     {{"key_ComBox_check_2", "on"}, {"keyset_keyboard_text_edit", "A"}},
     0x200204},
    {"PlainKey", 0x200029, 0x100400, 0, 6,
     {{"key_ComBox_check_0", "on"}, {"keyset_keyboard_text_edit", "Esc"}},
     0x200029},
    {"Combination", 0x201016, 0x100400, 0, 11, {{"keyset_combokey_combo", "3"}}, 0x201016},
    {"MacroThirdOfThree", 0x700201, 0x100400, 3, 9,
     {{"keyset_macro_combo", "2"},
      {"keyset_macro_over_combo", "1"},
      {"keyset_macro_cycle_layout", "hidden"}},
     0x700201},
    // A macro beyond the list shows none, and reading keeps the code.
    {"MacroBeyondTheList", 0x700201, 0x100400, 1, 9,
     {{"keyset_macro_combo", "-1"}, {"keyset_macro_over_combo", "-1"}},
     0x700201},
    {"MacroCounted", 0x710005, 0x100400, 1, 9,
     {{"keyset_macro_combo", "0"},
      {"keyset_macro_over_combo", "4"},
      {"keyset_macro_cycle_layout", "shown"},
      {"keyset_macro_cycle_edit", "5"}},
     0x710005},
    {"SameAsDefault", 0x100200, 0x100200, 0, 0, {{"keyset_mousekey_combo", "2"}}, 0x100200},
    {"NoFunctionShowsTheDefaultItem", 0x000000, 0x100800, 0, 0, {}, 0x100800},
    {"MouseButton", 0x101000, 0x100100, 0, 1, {{"keyset_mousekey_combo", "3"}}, 0x101000},
    // A button code no row has: nothing selected, and reading keeps the code.
    {"UnknownMouseButton", 0x102000, 0x100100, 0, 1, {{"keyset_mousekey_combo", "-1"}}, 0x102000},
    {"Dpi", 0x130300, 0x100100, 0, 4, {{"keyset_mousedpi_combo", "2"}}, 0x130300},
    {"Media", 0x30E900, 0x100100, 0, 7, {{"keyset_media_combo", "6"}}, 0x30E900},
    {"System", 0x400200, 0x100100, 0, 8, {{"keyset_system_combo", "1"}}, 0x400200},
    {"GunKey", 0x720300, 0x100100, 0, 10, {{"keyset_gunkey_combo", "3"}}, 0x720300},
    // Factory codes the panel cannot edit hide it.
    {"SmartKeyHidesThePanel", 0xA00200, 0x100100, 0, -1, {}, 0xA00200},
    {"DpiShiftHidesThePanel", 0x169001, 0x100100, 0, -1, {}, 0x169001},
};

INSTANTIATE_TEST_SUITE_P(Codes, ShowAssignmentTest, ::testing::ValuesIn(kShowCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeySetFixture, UnknownKeyIsShownEmptyAndClearedInTheKeptPair) {
  panel_->ShowAssignment(Pair(3, 0x2000FF, 0x100100));
  EXPECT_EQ(panel_->SelectedKind(), 6);
  EXPECT_EQ(KeyText(), QString());
  for (int n = 0; n < 5; ++n) EXPECT_FALSE(Checked(n)) << n;
  EXPECT_EQ(Hex(CurrentCode(panel_->Pair())), Hex(0x200000));
}

TEST_F(KeySetFixture, ShowingAPanelAgainAfterAHiddenCodeShowsIt) {
  panel_->ShowAssignment(Pair(3, 0xA00200, 0x100100));
  ASSERT_TRUE(Find("keyset_layout")->isHidden());
  panel_->ShowAssignment(Pair(3, 0x100200, 0x100100));
  EXPECT_FALSE(Find("keyset_layout")->isHidden());
  EXPECT_EQ(panel_->SelectedKind(), 1);
}

TEST_F(KeySetFixture, DefaultAndCurrentCanBeShownInTurn) {
  panel_->ShowAssignment(Pair(3, 0x12479B, 0x100800));
  panel_->ShowDefault();
  EXPECT_EQ(panel_->SelectedKind(), 0);
  EXPECT_EQ(Hex(CurrentCode(panel_->Pair())), Hex(0x12479B)) << "showing keeps the current code";
  // Reading the default item makes the current function the factory one.
  EXPECT_EQ(Hex(CurrentCode(panel_->ReadAssignment())), Hex(0x100800));

  panel_->ShowAssignment(Pair(3, 0x12479B, 0x100800));
  panel_->ShowDefault();
  panel_->ShowCurrent();
  EXPECT_EQ(panel_->SelectedKind(), 3);
  EXPECT_EQ(Hex(CurrentCode(panel_->ReadAssignment())), Hex(0x12479B));
}

// ---- Encoding what the user chose ----

TEST_F(KeySetFixture, FireIntervalBelowTheMinimumIsStoredAsTenAndShown) {
  panel_->ShowAssignment(Pair(1, 0x100200, 0x100200));
  ChooseKind(5);
  Type("keyset_mousefire_interval_edit", QStringLiteral("5"));
  Type("keyset_mousefire_num_edit", QStringLiteral("2"));
  EXPECT_EQ(Hex(CurrentCode(panel_->ReadAssignment())), Hex(0x140A02));
  EXPECT_EQ(Find<QLineEdit>("keyset_mousefire_interval_edit")->text(), QStringLiteral("10"));
}

struct ChoiceCase {
  const char* name;
  int kind;
  std::vector<std::pair<const char*, int>> combos;       // combo → item
  std::vector<std::pair<const char*, const char*>> edits;  // edit → text
  uint32_t expected;
  friend void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }
};

class ChoiceTest : public KeySetFixture, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(ChoiceTest, ReadsTheChosenFunction) {
  const ChoiceCase& c = GetParam();
  panel_->ShowAssignment(Pair(1, 0x100200, 0x100200));
  ChooseKind(c.kind);
  for (const auto& [combo, item] : c.combos) Choose(combo, item);
  for (const auto& [edit, text] : c.edits) Type(edit, QString::fromUtf8(text));
  EXPECT_EQ(Hex(CurrentCode(panel_->ReadAssignment())), Hex(c.expected));
}

const ChoiceCase kChoiceCases[] = {
    {"MouseButtonForward", 1, {{"keyset_mousekey_combo", 3}}, {}, 0x101000},
    {"ScrollDownFive", 3, {{"keyset_mousewheel_combo", 1}},
     {{"keyset_mousewheel_num_edit", "5"}, {"keyset_mousewheel_delay_edit", "1"},
      {"keyset_mousewheel_speed_edit", "2"}},
     0x1212FB},
    // Typed numbers are held to the field's range instead of losing their high bits.
    {"ScrollNumbersOutOfRange", 2, {{"keyset_mouseswing_combo", 0}},
     {{"keyset_mouseswing_num_edit", "300"}, {"keyset_mouseswing_delay_edit", "99"},
      {"keyset_mouseswing_speed_edit", "16"}},
     0x11FF7F},
    {"ScrollWithoutDirectionKeepsTheCode", 2, {{"keyset_mouseswing_combo", -1}}, {}, 0x100200},
    {"MacroCountedTwelve", 9, {{"keyset_macro_combo", 1}, {"keyset_macro_over_combo", 4}},
     {{"keyset_macro_cycle_edit", "12"}}, 0x71010C},
    {"MacroWhileHeld", 9, {{"keyset_macro_combo", 2}, {"keyset_macro_over_combo", 1}}, {},
     0x700201},
    {"MacroNoneSelectedKeepsTheCode", 9, {{"keyset_macro_combo", -1}}, {}, 0x100200},
    {"MediaMute", 7, {{"keyset_media_combo", 7}}, {}, 0x30E200},
    {"SystemWakeUp", 8, {{"keyset_system_combo", 2}}, {}, 0x400400},
    {"GunKeyTwo", 10, {{"keyset_gunkey_combo", 1}}, {}, 0x720100},
    {"CombinationPaste", 11, {{"keyset_combokey_combo", 6}}, {}, 0x201019},
    {"KeyboardKindWithoutKey", 6, {}, {}, 0x200000},
};

INSTANTIATE_TEST_SUITE_P(Choices, ChoiceTest, ::testing::ValuesIn(kChoiceCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The panel's own reactions ----

TEST_F(KeySetFixture, ChoosingAKindShowsItsPage) {
  for (int kind : {1, 2, 3, 5, 7, 8, 9, 10, 11, 0}) {
    ChooseKind(kind);
    EXPECT_EQ(CurrentPage(), kind);
  }
}

TEST_F(KeySetFixture, ChoosingTheKeyboardKindStartsEmpty) {
  panel_->ShowAssignment(Pair(1, 0x200204, 0x100200));
  ASSERT_EQ(KeyText(), QStringLiteral("A"));
  ChooseKind(1);
  ChooseKind(6);
  EXPECT_EQ(KeyText(), QString());
  for (int n = 0; n < 5; ++n) EXPECT_FALSE(Checked(n)) << n;
  EXPECT_EQ(Hex(CurrentCode(panel_->ReadAssignment())), Hex(0x200000));
}

TEST_F(KeySetFixture, RepeatCountRowOnlyForTheCountedMode) {
  QWidget* row = Find("keyset_macro_cycle_layout");
  ASSERT_NE(row, nullptr);
  ChooseKind(9);
  for (int mode : {4, 0, 1, 4, 3, 2}) {
    Choose("keyset_macro_over_combo", mode);
    EXPECT_EQ(row->isHidden(), mode != 4) << "mode " << mode;
  }
}

TEST_F(KeySetFixture, KeyboardHasNoDpiOrGunKeyItems) {
  SetDeviceKind(kKeySetKeyboard);
  for (int kind = 0; kind < 12; ++kind)
    EXPECT_EQ(panel_->KindOffered(kind), kind != 4 && kind != 10) << "kind " << kind;
  SetDeviceKind(kKeySetMouse);
  for (int kind = 0; kind < 12; ++kind) EXPECT_TRUE(panel_->KindOffered(kind)) << "kind " << kind;
}

TEST_F(KeySetFixture, MacroNamesAreListedInOrderWithNoneSelected) {
  panel_->SetMacroNames({QStringLiteral("Reload"), QStringLiteral("Jump")});
  auto* combo = Find<QComboBox>("keyset_macro_combo");
  ASSERT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->itemText(0), QStringLiteral("Reload"));
  EXPECT_EQ(combo->itemText(1), QStringLiteral("Jump"));
  EXPECT_EQ(combo->currentIndex(), -1);
  EXPECT_EQ(panel_->MacroCount(), 2);
}

TEST_F(KeySetFixture, ResetFieldsPutsTheListsBack) {
  panel_->ShowAssignment(Pair(1, 0x12479B, 0x100200));
  Choose("keyset_mousekey_combo", 4);
  Choose("keyset_media_combo", 5);
  Choose("keyset_macro_combo", 2);
  Choose("keyset_macro_over_combo", 4);
  Type("keyset_mousefire_interval_edit", QStringLiteral("90"));
  Type("keyset_macro_cycle_edit", QStringLiteral("8"));
  panel_->ResetFields();
  const std::pair<const char*, const char*> expected[] = {
      {"keyset_mousekey_combo", "0"},        {"keyset_mousedpi_combo", "0"},
      {"keyset_mousefire_interval_edit", "50"}, {"keyset_mousefire_num_edit", "2"},
      {"keyset_media_combo", "0"},           {"keyset_system_combo", "0"},
      {"keyset_macro_combo", "0"},           {"keyset_macro_over_combo", "0"},
      {"keyset_macro_cycle_edit", "1"},      {"keyset_macro_cycle_layout", "hidden"},
      {"keyset_gunkey_combo", "0"},          {"keyset_combokey_combo", "0"},
      // The scroll fields keep what they showed.
      {"keyset_mousewheel_num_edit", "101"},
  };
  for (const auto& [control, value] : expected)
    EXPECT_EQ(Shown(Find(control)), QString::fromUtf8(value)) << control;
}

TEST_F(KeySetFixture, EditingButtonsFollowThePendingState) {
  auto* save = Find<QAbstractButton>("key_butt_keysave");
  auto* cancel = Find<QAbstractButton>("key_butt_keycancel");
  auto* apply = Find<QAbstractButton>("key_butt_prosave");
  EXPECT_FALSE(cancel->isEnabled());
  EXPECT_FALSE(apply->isEnabled());
  panel_->EnableEditingButtons(true);
  EXPECT_TRUE(cancel->isEnabled());
  EXPECT_TRUE(apply->isEnabled());
  EXPECT_TRUE(panel_->EditingButtonsEnabled());
  panel_->EnableEditingButtons(false);
  EXPECT_FALSE(cancel->isEnabled());
  EXPECT_FALSE(apply->isEnabled());
  EXPECT_TRUE(save->isEnabled()) << "a new choice must stay savable";
}

// ---- The key edit ----

TEST_F(KeySetFixture, KeyEditTakesNoTypedText) {
  panel_->ShowAssignment(Pair(1, 0x200004, 0x100200));
  auto* edit = Find<QLineEdit>("keyset_keyboard_text_edit");
  ASSERT_NE(edit, nullptr);
  QTest::keyClicks(edit, QStringLiteral("xyz"));
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(edit->text(), QStringLiteral("A"));
  EXPECT_EQ(Hex(CurrentCode(panel_->ReadAssignment())), Hex(0x200004));
}

TEST_F(KeySetFixture, KeyEditFocusAsksForKeyCapture) {
  auto* edit = Find<QLineEdit>("keyset_keyboard_text_edit");
  QSignalSpy wanted(panel_, &CKeySetControlUI::keyCaptureWanted);
  EXPECT_TRUE(flow_->HandleNotification({QString::fromLatin1(notify::kSetFocus), edit}));
  EXPECT_TRUE(panel_->KeyCaptureWanted());
  // A second focus notification does not start the capture again.
  flow_->HandleNotification({QString::fromLatin1(notify::kSetFocus), edit});
  EXPECT_TRUE(flow_->HandleNotification({QString::fromLatin1(notify::kKillFocus), edit}));
  EXPECT_FALSE(panel_->KeyCaptureWanted());
  ASSERT_EQ(wanted.count(), 2);
  EXPECT_TRUE(wanted.at(0).at(0).toBool());
  EXPECT_FALSE(wanted.at(1).at(0).toBool());
  // Focus on another control is not the panel's business.
  EXPECT_FALSE(flow_->HandleNotification(
      {QString::fromLatin1(notify::kSetFocus), Find("keyset_mousefire_num_edit")}));
}

TEST_F(KeySetFixture, KeyNameFollowsTheLanguage) {
  panel_->ShowAssignment(Pair(1, 0x200029, 0x100200));
  ASSERT_EQ(KeyText(), QStringLiteral("Esc"));
  ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_cn.xml")));
  panel_->ShowAssignment(Pair(1, 0x20002C, 0x100200));
  EXPECT_EQ(KeyText(), Translator::Instance().Text(QStringLiteral("keyboard_key_Space")));
  EXPECT_NE(KeyText(), QStringLiteral("Space"));
  ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
  EXPECT_EQ(KeyText(), QStringLiteral("Space"));
}

}  // namespace
}  // namespace vorlin::testing
