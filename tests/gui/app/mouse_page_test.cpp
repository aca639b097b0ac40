// The mouse page as a user drives it, against the emulated mouse on its own thread, as in the
// program: choosing a button's function in the key panel and applying it, capturing a key from
// the window, changing a DPI stage and the polling rate on the settings tabs, and the page's
// function tabs. Each flow ends in the mouse's memory and the profile document.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "pages/function_view.h"
#include "pages/mouse_panels.h"
#include "hid/device_link.h"
#include "input/device_hook.h"
#include "key_set/key_set_control_ui.h"
#include "macro/macro_control_ui.h"
#include "mouse_fixture.h"
#include "mouse_settings/mouse_settings_panel.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "ui/device_key_button.h"
#include "ui/find_control.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

class MousePageTest : public test::MouseFixture {
 protected:
  bool DeviceThreads() const override { return true; }
  template <typename T>
  T* Control(const char* name) const {
    return FindControl<T>(page_, QString::fromLatin1(name));
  }
  std::vector<KeyAssignmentPair> Keys() const { return page_->Client().KeyList(); }
  // Clicks and waits until the mouse has carried out what the click asked for.
  void ClickAndWait(const char* name) {
    Click(name);
    ASSERT_TRUE(WaitIdle(page_)) << name;
  }
  // Chooses the function kind `kind` in the key panel as the user's pick would.
  void ChooseKind(int kind) {
    auto* combo = Control<QComboBox>("keyset_function_combo");
    ASSERT_NE(combo, nullptr);
    for (int i = 0; i < combo->count(); ++i) {
      combo->setCurrentIndex(i);
      if (page_->Mouse()->KeyPanel()->SelectedKind() == kind) return;
    }
    FAIL() << "no function item of kind " << kind;
  }
  void Click(const char* name) {
    auto* button = Control<QAbstractButton>(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }
  // The current function of key-list entry `index` in the profile document.
  uint32_t DocumentAssignment(int index) const {
    const Json::Value document = JsonFileIo::ReadJsonFile(page_->Client().View().profilePath);
    const Json::Value& keys = Member(Element(Member(document, "Device"), 0), "KeyList");
    return static_cast<uint32_t>(ReadInt(Element(keys, index), "Assignment"));
  }
  static uint32_t Packed(const KeyAssignment& assignment) { return assignment.PackedCode(); }
};

TEST_F(MousePageTest, AButtonTakesAFunctionFromTheKeyPanelAndTheMouseGetsIt) {
  page_->SetFunctionView(kLightingView);
  Click("key_3");  // the forward button, key slot 4 of the mouse
  EXPECT_EQ(page_->GetFunctionView(), kKeysView);
  EXPECT_EQ(page_->SelectedKey(), 3);

  ChooseKind(4);  // DPI functions
  auto* dpi = Control<QComboBox>("keyset_mousedpi_combo");
  ASSERT_NE(dpi, nullptr);
  dpi->setCurrentIndex(2);  // DPI cycle, 13 03 00
  ClickAndWait("key_butt_keysave");
  EXPECT_EQ(Packed(Keys()[3].current), 0x130300u);
  EXPECT_EQ(DocumentAssignment(3), 0x130300u);  // kept at once
  EXPECT_TRUE(Control<QAbstractButton>("key_butt_prosave")->isEnabled());

  emulator_.Bus()->ClearTrace();
  ClickAndWait("key_butt_prosave");
  const FirmwareMemory memory = Memory();
  EXPECT_EQ(memory.keyTable[4 * 3], 0x13);
  EXPECT_EQ(memory.keyTable[4 * 3 + 1], 0x03);
  EXPECT_EQ(memory.keyTable[4 * 3 + 2], 0x00);
  EXPECT_EQ(CountOf(kMouseCableProductId, kCmdWriteKeyTable) > 0, true) << Trace();
  EXPECT_FALSE(Control<QAbstractButton>("key_butt_prosave")->isEnabled());
  // The button says what it does now.
  EXPECT_TRUE(page_->KeyButtons()[3]->toolTip().contains(
      Translator::Instance().Text(QStringLiteral("mouse_key_DPI_loop"))))
      << page_->KeyButtons()[3]->toolTip().toStdString();

  // Back to the factory function: shown as the default, waiting for save and apply.
  Click("key_butt_keydefalut");
  ClickAndWait("key_butt_keysave");
  ClickAndWait("key_butt_prosave");
  EXPECT_EQ(Keys()[3].current, Keys()[3].factory);
  EXPECT_EQ(Memory().keyTable[4 * 3], Keys()[3].factory.code[0]);
}

TEST_F(MousePageTest, TheKeyEditCapturesAKeyFromTheWindowWhileItHasTheFocus) {
  Click("key_4");
  ChooseKind(6);  // keyboard key
  auto* edit = Control<QLineEdit>("keyset_keyboard_text_edit");
  ASSERT_NE(edit, nullptr);
  CDeviceHook* capture = window_->InputCapture();
  ASSERT_NE(capture, nullptr);

  SendNotification(edit, QString::fromLatin1(notify::kSetFocus));
  ASSERT_TRUE(capture->Running());
  EXPECT_TRUE(capture->LimitedToWindow());  // the tests give the window as the only source
  auto* tip = Control<QWidget>("keyset_capture_window_tip");
  ASSERT_NE(tip, nullptr);
  EXPECT_FALSE(tip->isHidden());

  QTest::keyClick(page_->window()->windowHandle(), Qt::Key_A);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Packed(Keys()[4].current) == 0x200004u; },
                              2000))
      << std::hex << Packed(Keys()[4].current);
  ASSERT_TRUE(WaitIdle(page_));
  EXPECT_EQ(DocumentAssignment(4), 0x200004u);
  EXPECT_EQ(edit->text(), Translator::Instance().Text(QStringLiteral("keyboard_key_A")));

  SendNotification(edit, QString::fromLatin1(notify::kKillFocus));
  EXPECT_FALSE(capture->Running());
  EXPECT_TRUE(tip->isHidden());
  // Keys after the focus left change nothing.
  QTest::keyClick(page_->window()->windowHandle(), Qt::Key_B);
  QTest::qWait(50);
  EXPECT_EQ(Packed(Keys()[4].current), 0x200004u);
}

TEST_F(MousePageTest, TheOnlyLeftButtonIsNotOpenedForEditing) {
  // The refusal is a message box: answer it as the user would.
  QTimer::singleShot(300, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  Click("key_0");
  EXPECT_NE(page_->SelectedKey(), 0);
}

TEST_F(MousePageTest, ADpiEditAndThePollingRateReachTheMouse) {
  page_->SetFunctionView(kSettingsView);
  const std::vector<uint8_t> info = page_->Client().DeviceInfo();
  const int step = info[11];
  const int base = info[14] | info[15] << 8;
  ASSERT_GT(step, 0);

  auto* edit = Control<QLineEdit>("DPI_edit_1");
  ASSERT_NE(edit, nullptr);
  edit->setText(QStringLiteral("1649"));  // rounds up to 1650
  SendNotification(edit, QString::fromLatin1(notify::kKillFocus));
  ASSERT_TRUE(WaitIdle(page_));
  const int code = (1650 - base) / step;
  const FirmwareMemory memory = Memory();
  EXPECT_EQ(memory.params[14 + 9 + 2] | memory.params[14 + 9 + 3] << 8, code) << Trace();
  EXPECT_EQ(page_->Client().DpiStages()[1].dpi_x, code);
  EXPECT_EQ(edit->text().toInt(), ((code * step + base + 49) / 50) * 50);
  const Json::Value document = JsonFileIo::ReadJsonFile(page_->Client().View().profilePath);
  const Json::Value& dpi = Member(Element(Member(document, "Device"), 0), "DPIStages");
  EXPECT_EQ(ReadInt(Element(Member(dpi, "StageDPIs"), 1), "StageDPIX"), code);

  ClickAndWait("polling_rate_option_2");
  EXPECT_EQ(page_->Client().SystemSettings().report_stage, 2);
  EXPECT_EQ(Memory().params[11], 2);
}

TEST_F(MousePageTest, TheFunctionTabsSwitchThePanels) {
  struct Case {
    const char* tab;
    int view;
  };
  for (const Case& c : {Case{"key_Op_tab", kKeysView}, Case{"macro_Op_tab", kMacrosView},
                        Case{"shoot_Op_tab", kRecoilView}, Case{"system_Op_tab", kSettingsView},
                        Case{"cursor_Op_tab", kPointerView}, Case{"deng_Op_tab", kLightingView}}) {
    SCOPED_TRACE(c.tab);
    Click(c.tab);
    EXPECT_EQ(page_->GetFunctionView(), c.view);
  }
  // Only the lighting view shows the preview's lights on the picture.
  CDeviceKeyButtonUI* left = page_->KeyButtons()[0];
  ASSERT_TRUE(QTest::qWaitFor([&] { return left->LightColour() != 0; }, 2000));
  page_->SetFunctionView(kKeysView);
  EXPECT_EQ(left->LightColour(), 0u);
  QTest::qWait(100);  // frames go on meanwhile
  EXPECT_EQ(left->LightColour(), 0u);
}

TEST_F(MousePageTest, AMacroRecordedFromTheWindowIsBoundToAButtonAndWrittenToTheMouse) {
  CMacroControlUI* macros = page_->Mouse()->MacroPanel();
  ASSERT_NE(macros, nullptr);
  ASSERT_EQ(macros->NewMacro(), MacroLibrary::Status::kOk);
  macros->SelectMacro(0);
  ASSERT_TRUE(macros->StartRecording(RecordPlacement::kAppend, DelayMode::kRecordTime));
  ASSERT_TRUE(window_->InputCapture()->Running());
  QTest::keyClick(page_->window()->windowHandle(), Qt::Key_A);
  macros->StopRecording();
  EXPECT_FALSE(window_->InputCapture()->Running());
  ASSERT_EQ(macros->Events().Count(), 2);  // A down, A up
  EXPECT_TRUE(macros->Events().events[0].down);
  EXPECT_FALSE(macros->Events().events[1].down);

  // The key panel lists the new macro; the forward button plays it once.
  Click("key_3");
  ChooseKind(9);
  auto* list = Control<QComboBox>("keyset_macro_combo");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 1);
  list->setCurrentIndex(0);
  Control<QComboBox>("keyset_macro_over_combo")->setCurrentIndex(0);
  ClickAndWait("key_butt_keysave");
  EXPECT_EQ(Packed(Keys()[3].current), 0x700000u);
  ClickAndWait("key_butt_prosave");

  const FirmwareMemory memory = Memory();
  EXPECT_EQ(std::vector<uint8_t>(memory.keyTable.begin() + 12, memory.keyTable.begin() + 15),
            (std::vector<uint8_t>{0x70, 0x00, 0x00}));  // image position 0
  // One macro of two events: the image's header, one offset, the count, two events.
  EXPECT_EQ(memory.macro[0], 0xAA);
  EXPECT_EQ(memory.macro[1], 0x55);
  EXPECT_EQ(memory.macro[2], 30);
  EXPECT_EQ(memory.macro[4], 1);

  for (const auto& entry : std::filesystem::directory_iterator(UserFile(""))) {
    if (entry.path().extension() == ".mac") std::filesystem::remove(entry.path());
  }
}

TEST_F(MousePageTest, TheRecoilTabSendsTheFourFactoryPatterns) {
  Click("shoot_Op_tab");
  emulator_.Bus()->ClearTrace();
  ClickAndWait("shootdate_save_btn");
  const FirmwareMemory memory = Memory();
  EXPECT_EQ(CountOf(kMouseCableProductId, kCmdWriteShootData) > 0, true) << Trace();
  EXPECT_EQ(memory.shoot[0], 0xAA);
  EXPECT_EQ(memory.shoot[1], 0x55);
  EXPECT_EQ(memory.shoot[4], 4);  // four patterns, seeded from the factory files
  const int size = memory.shoot[2] | memory.shoot[3] << 8;
  EXPECT_GT(size, 16 + 6 * 4);  // the factory patterns are not empty
}

TEST_F(MousePageTest, LoadingAProfileShowsItsFunctionOfTheSelectedButton) {
  Click("key_3");
  ChooseKind(4);
  Control<QComboBox>("keyset_mousedpi_combo")->setCurrentIndex(1);
  ClickAndWait("key_butt_keysave");
  ASSERT_EQ(Packed(Keys()[3].current), 0x130200u);
  ASSERT_TRUE(Control<QAbstractButton>("key_butt_prosave")->isEnabled());

  page_->Client().ResetToFactory();
  ASSERT_TRUE(WaitIdle(page_));
  EXPECT_EQ(page_->Mouse()->KeyPanel()->Pair(), Keys()[3]);
  EXPECT_FALSE(Control<QAbstractButton>("key_butt_prosave")->isEnabled());
}

// The secondary panels are built when their tab is first shown: before, their controls do not
// exist though their tabs are offered. What changed on the mouse meanwhile shows at once on the
// panel built late, and what the user changes there reaches the mouse.
TEST_F(MousePageTest, ASecondaryPanelIsBuiltOnFirstShowWithTheMouseAsItIsThen) {
  struct Case {
    const char* tab;
    int view;
    const char* control;  // one control of the panel
  };
  const Case cases[] = {{"key_Op_tab", kKeysView, "keyset_function_combo"},
                        {"macro_Op_tab", kMacrosView, "macro_name_list"},
                        {"shoot_Op_tab", kRecoilView, "shootdate_save_btn"},
                        {"system_Op_tab", kSettingsView, "DPI_edit_1"},
                        {"cursor_Op_tab", kPointerView, "mouse_pointer_card"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tab);
    EXPECT_FALSE(page_->Mouse()->Built(c.view));
    EXPECT_EQ(Control<QWidget>(c.control), nullptr);
    auto* tab = Control<QAbstractButton>(c.tab);
    ASSERT_NE(tab, nullptr);
    EXPECT_TRUE(tab->isVisibleTo(page_));
  }

  // Meanwhile the mouse's DPI stage 2 and the forward button's function change elsewhere.
  DeviceClient& client = page_->Client();
  std::vector<DpiStage> stages = client.DpiStages();
  ASSERT_GT(stages.size(), 3u);
  const std::vector<uint8_t> info = client.DeviceInfo();
  const int step = info[11];
  const int base = info[14] | info[15] << 8;
  ASSERT_GT(step, 0);
  const int code = (1100 - base) / step;
  ASSERT_NE(stages[2].dpi_x, code);
  stages[2].dpi_x = stages[2].dpi_y = static_cast<uint16_t>(code);
  client.StoreDpiStages(stages);
  client.CommitSettings(true);
  KeyAssignmentPair forward = Keys()[3];
  forward.current.SetPackedCode(0x130300u);  // DPI cycle
  client.SetKeyEntry(3, forward);
  ASSERT_TRUE(WaitIdle(page_));
  ASSERT_EQ(Memory().params[14 + 2 * 9 + 2] | Memory().params[14 + 2 * 9 + 3] << 8, code);
  for (const Case& c : cases) EXPECT_FALSE(page_->Mouse()->Built(c.view)) << c.tab;

  // The settings tab: stage 2 shows the mouse's DPI; a change of stage 3 reaches the mouse.
  Click("system_Op_tab");
  EXPECT_EQ(page_->GetFunctionView(), kSettingsView);
  EXPECT_TRUE(page_->Mouse()->Built(kSettingsView));
  EXPECT_TRUE(page_->Mouse()->Built(kPointerView));  // one panel acts on both
  EXPECT_FALSE(page_->Mouse()->Built(kKeysView));
  auto* shown = Control<QLineEdit>("DPI_edit_2");
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->text().toInt(), ((code * step + base + 49) / 50) * 50);
  auto* edit = Control<QLineEdit>("DPI_edit_3");
  ASSERT_NE(edit, nullptr);
  edit->setText(QStringLiteral("1200"));
  SendNotification(edit, QString::fromLatin1(notify::kKillFocus));
  ASSERT_TRUE(WaitIdle(page_));
  const int code3 = (1200 - base) / step;
  EXPECT_EQ(Memory().params[14 + 3 * 9 + 2] | Memory().params[14 + 3 * 9 + 3] << 8, code3)
      << Trace();

  // The buttons tab: the list shows the forward button's new function, and so does the key
  // panel once the button is chosen on the picture.
  Click("key_Op_tab");
  EXPECT_TRUE(page_->Mouse()->Built(kKeysView));
  auto* list = Control<QListWidget>("device_setkeyinfo_list");
  ASSERT_NE(list, nullptr);
  ASSERT_GT(list->count(), 3);
  QWidget* row = list->itemWidget(list->item(3));
  ASSERT_NE(row, nullptr);
  EXPECT_TRUE(
      row->toolTip().contains(Translator::Instance().Text(QStringLiteral("mouse_key_DPI_loop"))))
      << row->toolTip().toStdString();
  Click("key_3");
  EXPECT_EQ(Packed(page_->Mouse()->KeyPanel()->Pair().current), 0x130300u);
}

}  // namespace
}  // namespace vorlin
