// The macro panel driven as the page drives it, with a stand-in page and device that records
// questions, notices and calls: new, rename and delete with their messages and limits, deletion
// renumbering the other profiles, recording from captured events, the editor lock, the event
// edits, the insert menu, import and export, and the layout's names and texts.
#include "macro/macro_control_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>

#include "devices/device_capabilities.h"
#include "support/page_services_stub.h"
#include "profiles/json_file_io.h"
#include "support/layout_text_keys.h"
#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/menu_builder.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

class FakeHost : public MacroKeysControl, public testing::StubPageServices {
 public:
  using CaptureCallback = std::function<void(const HookEvent&)>;

  bool StartCapture(int mode, CaptureCallback callback) override {
    calls.push_back("StartCapture(" + std::to_string(mode) + ")");
    if (!capture_works) return false;
    capture = std::move(callback);
    return true;
  }
  void StopCapture() override {
    calls.push_back("StopCapture");
    capture = nullptr;
  }
  std::string CurrentProfileDocument() const override { return current_document; }
  bool KeysUseMacro(int number) const override { return used.count(number) > 0; }
  void MacroRemoved(int number) override {
    calls.push_back("MacroRemoved(" + std::to_string(number) + ")");
  }
  void SetMacroNames(const std::vector<std::string>& list) override { names = list; }
  int ShowMessage(const QString& key, bool question, std::optional<int>,
                  const QString& object) override {
    messages.push_back(key.toStdString());
    objects.push_back(object.toStdString());
    if (!question) return 1;
    const auto answer = answers.find(key.toStdString());
    return answer == answers.end() ? 1 : answer->second;
  }
  QString OpenFile(const QString&) override { return open_path; }
  QString SaveFile(const QString&) override { return save_path; }

  std::vector<std::string> objects;  // the named object of each message
  std::string folder;
  std::string current_document;
  std::set<int> used;
  std::vector<std::string> names;
  std::vector<std::string> calls;
  std::vector<std::string> messages;
  std::map<std::string, int> answers;  // question key → answer (1 OK, 0 cancel)
  QString open_path;
  QString save_path;
  bool capture_works = true;
  CaptureCallback capture;
};

class MacroPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
    host_.folder = folder_.path().string() + "/";
    window_.resize(400, 900);
    NotifyBridge::Install(&window_, nullptr);
    panel_ = new CMacroControlUI(&window_);
    panel_->SetHost(&host_, &host_);
    QObject::connect(panel_, &CMacroControlUI::macroEventsChanged, panel_, [this](int number) {
      host_.calls.push_back("MacroEventsChanged(" + std::to_string(number) + ")");
    });
    panel_->SetClock([this] { return now_; });
    panel_->SetIdSource([this] { return "id" + std::to_string(++ids_); });
    panel_->SetMenuRunner([this](QMenu&, const QPoint&) { return menu_choice_; });
    panel_->SetFolder(host_.folder);
  }

  template <typename T = QWidget>
  T* Control(const char* name) const {
    return FindControl<T>(panel_, QString::fromLatin1(name));
  }
  bool Click(const char* name) {
    return panel_->HandleNotification({QString::fromLatin1(notify::kClick), Control(name)});
  }
  bool Enabled(const char* name) const { return Control(name)->isEnabledTo(&window_); }
  Json::Value MacroFileOf(int number) const {
    return JsonFileIo::ReadJsonFile(panel_->Library().MacroPath(number));
  }
  std::vector<std::string> Delays(int number) const {
    std::vector<std::string> delays;
    const Json::Value file = MacroFileOf(number);
    for (const Json::Value& e : file["Events"]) delays.push_back(e["Delay"].asString());
    return delays;
  }
  QLineEdit* DelayEdit(int row) const {
    QWidget* widget = ListRow(Control<QListWidget>("macro_action_list"), row);
    return widget ? widget->findChild<QLineEdit*>(QStringLiteral("macro_delay")) : nullptr;
  }
  static HookEvent Key(uint32_t scan, bool down) {
    HookEvent event;
    event.message = HookMessage::kKeyKbMacro;
    event.keyboard = true;
    event.wparam = down ? kWmKeyDown : kWmKeyUp;
    event.key.scan_code = scan;
    return event;
  }

  testing::TempFolder folder_;
  FakeHost host_;
  QWidget window_;
  CMacroControlUI* panel_ = nullptr;
  uint64_t now_ = 1000;
  int ids_ = 0;
  QString menu_choice_;
};

TEST_F(MacroPanelTest, NewMacrosAreAskedForNamedAndLimited) {
  host_.answers["message_text_28"] = 0;
  ASSERT_TRUE(Click("macro_btn_name_add"));
  EXPECT_EQ(panel_->Library().Count(), 0);
  host_.answers["message_text_28"] = 1;
  ASSERT_TRUE(Click("macro_btn_name_add"));
  ASSERT_TRUE(Click("macro_btn_name_add"));
  EXPECT_EQ(host_.names, (std::vector<std::string>{"macro_1", "macro_2"}));
  EXPECT_EQ(panel_->SelectedMacro(), 1);
  EXPECT_EQ(Control<QLineEdit>("macro_edit_macroname")->text(), QStringLiteral("macro_2"));
  EXPECT_EQ(Control<QListWidget>("macro_name_list")->count(), 2);
  for (const char* name : {"macro_action_layout", "mouse_move_layout", "macro_btn_export",
                           "macro_btn_name_sub", "macro_btn_name_edit"})
    EXPECT_TRUE(Enabled(name)) << name;

  while (panel_->Library().Count() < kMaxMacros)
    ASSERT_EQ(panel_->NewMacro(), MacroLibrary::Status::kOk);
  host_.messages.clear();
  EXPECT_EQ(panel_->NewMacro(), MacroLibrary::Status::kLimitReached);
  EXPECT_EQ(host_.messages, (std::vector<std::string>{"message_text_30"}));
  EXPECT_EQ(panel_->Library().Count(), kMaxMacros);

  panel_->SelectMacro(-1);
  for (const char* name : {"macro_action_layout", "mouse_move_layout", "macro_btn_export",
                           "macro_btn_name_sub", "macro_btn_name_edit"})
    EXPECT_FALSE(Enabled(name)) << name;
}

TEST_F(MacroPanelTest, RenameShowsWhyANameIsRefused) {
  ASSERT_EQ(panel_->NewMacro(), MacroLibrary::Status::kOk);
  ASSERT_EQ(panel_->NewMacro(), MacroLibrary::Status::kOk);
  struct Case {
    const char* typed;
    std::vector<std::string> messages;
    const char* name;  // of macro 1 afterwards
  };
  const Case cases[] = {
      {"", {}, "macro_2"},
      {"   ", {"message_text_25"}, "macro_2"},
      {"MACRO_1", {"message_text_5"}, "macro_2"},
      {"Jump", {}, "Jump"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    host_.messages.clear();
    Control<QLineEdit>("macro_edit_macroname")->setText(QString::fromUtf8(c.typed));
    ASSERT_TRUE(Click("macro_btn_name_edit"));
    EXPECT_EQ(host_.messages, c.messages);
    EXPECT_EQ(panel_->Library().Macros()[1].name, c.name);
    EXPECT_EQ(Control<QListWidget>("macro_name_list")->item(1)->text().toStdString(), c.name);
  }
  EXPECT_EQ(host_.names.back(), "Jump");
}

TEST_F(MacroPanelTest, DeletingRenumbersOtherProfilesAndCancellingChangesNothing) {
  for (int i = 0; i < 4; ++i) ASSERT_EQ(panel_->NewMacro(), MacroLibrary::Status::kOk);
  testing::WriteText(folder_.File("ProfileList.ini"),
                     R"({"profilelist": [{"profilename": "cur", "profileUUID": "cur"},
                         {"profilename": "other", "profileUUID": "other"}], "profileselect": 0})");
  // Keys playing macro 2 and macro 3 in both profiles.
  const std::string keys =
      R"({"Device": [{"KeyList": [{"Assignment": 7340544, "DefaultAssignment": 1048832},
                                  {"Assignment": 7340800, "DefaultAssignment": 1048832}]}]})";
  testing::WriteText(folder_.File("cur.Json"), keys);
  testing::WriteText(folder_.File("other.Json"), keys);
  host_.current_document = folder_.File("cur.Json");
  host_.used = {2};
  panel_->SelectMacro(2);

  for (const char* refused : {"message_text_4", "message_text_2"}) {
    SCOPED_TRACE(refused);
    host_.answers = {{refused, 0}};
    EXPECT_FALSE(panel_->DeleteMacro());
    EXPECT_EQ(panel_->Library().Count(), 4);
    EXPECT_EQ(testing::ReadText(folder_.File("other.Json")), keys);
  }

  host_.answers.clear();
  host_.messages.clear();
  host_.objects.clear();
  ASSERT_TRUE(Click("macro_btn_name_sub"));
  EXPECT_EQ(host_.messages, (std::vector<std::string>{"message_text_4", "message_text_2"}));
  // Both questions name the macro that goes.
  EXPECT_EQ(host_.objects, (std::vector<std::string>{"macro_3", "macro_3"}));
  EXPECT_EQ(host_.names, (std::vector<std::string>{"macro_1", "macro_2", "macro_4"}));
  const Json::Value other = JsonFileIo::ReadJsonFile(folder_.File("other.Json"));
  EXPECT_EQ(other["Device"][0]["KeyList"][0]["Assignment"].asInt(), 0x100100);
  EXPECT_EQ(other["Device"][0]["KeyList"][1]["Assignment"].asInt(), 0x700200);
  // The current profile is the page's to renumber.
  EXPECT_EQ(testing::ReadText(folder_.File("cur.Json")), keys);
  EXPECT_NE(std::find(host_.calls.begin(), host_.calls.end(), "MacroRemoved(2)"),
            host_.calls.end());
  EXPECT_EQ(panel_->SelectedMacro(), 0);
}

TEST_F(MacroPanelTest, RecordingAppendsLocksTheEditorAndSavesOnStop) {
  ASSERT_EQ(panel_->NewMacro(), MacroLibrary::Status::kOk);
  now_ = 5000;
  ASSERT_TRUE(Click("macro_btn_starredio"));
  EXPECT_EQ(host_.calls.back(), "StartCapture(4)");
  ASSERT_TRUE(host_.capture);
  for (const char* name : {"macro_name_tab", "macro_tab_macroaction_edit",
                           "macro_tab_macrodelay_edit", "macro_action_list", "macro_btn_starredio"})
    EXPECT_FALSE(Enabled(name)) << name;
  EXPECT_TRUE(Enabled("macro_btn_stopredio"));

  now_ = 5100;
  host_.capture(Key(0x1E, true));
  now_ = 5150;
  host_.capture(Key(0x1E, true));  // auto-repeat
  now_ = 5220;
  host_.capture(Key(0x1E, false));
  now_ = 5220 + 70000;
  host_.capture(Key(0x30, true));
  EXPECT_EQ(Control<QListWidget>("macro_action_list")->count(), 3);
  EXPECT_EQ(DelayEdit(0)->text(), QStringLiteral("120"));
  EXPECT_EQ(DelayEdit(1)->text(), QStringLiteral("65535"));
  // Each delay says its unit beside it.
  for (int row = 0; row < 2; ++row) {
    QStringList texts;
    for (const QLabel* label : DelayEdit(row)->parentWidget()->findChildren<QLabel*>())
      texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("ms"))) << texts.join(u'|').toStdString();
  }

  ASSERT_TRUE(Click("macro_btn_stopredio"));
  EXPECT_EQ(host_.calls.back(), "MacroEventsChanged(0)");
  EXPECT_TRUE(Enabled("macro_btn_starredio"));
  EXPECT_FALSE(Enabled("macro_btn_stopredio"));
  EXPECT_TRUE(Enabled("macro_action_list"));
  EXPECT_EQ(Delays(0), (std::vector<std::string>{"120", "65535", "0"}));
  EXPECT_EQ(MacroFileOf(0)["Events"][0]["Action"].asString(), "down");
  EXPECT_EQ(MacroFileOf(0)["Events"][1]["Action"].asString(), "up");
}

TEST_F(MacroPanelTest, ConstantRecordingTakesTheFixedDelayHeldAtTen) {
  ASSERT_EQ(panel_->NewMacro(), MacroLibrary::Status::kOk);
  Control<QCheckBox>("macro_check_time")->setChecked(true);
  Control<QLineEdit>("macro_fixed_time_edit")->setText(QStringLiteral("3"));
  host_.messages.clear();
  ASSERT_TRUE(panel_->StartRecording(RecordPlacement::kAppend));
  EXPECT_EQ(host_.messages, (std::vector<std::string>{"message_text_31"}));
  EXPECT_EQ(Control<QLineEdit>("macro_fixed_time_edit")->text(), QStringLiteral("10"));
  host_.capture(Key(0x1E, true));
  host_.capture(Key(0x1E, false));
  panel_->StopRecording();
  EXPECT_EQ(Delays(0), (std::vector<std::string>{"10", "10"}));
  // Inserted events take the fixed delay too.
  ASSERT_TRUE(panel_->InsertMove(MoveDirection::kUp));
  EXPECT_EQ(Delays(0), (std::vector<std::string>{"10", "10", "10"}));
}

TEST_F(MacroPanelTest, AFailedCaptureUnlocksAndTells) {
  ASSERT_EQ(panel_->NewMacro(), MacroLibrary::Status::kOk);
  host_.capture_works = false;
  host_.messages.clear();
  EXPECT_FALSE(panel_->StartRecording(RecordPlacement::kAppend));
  EXPECT_FALSE(panel_->Recording());
  EXPECT_TRUE(Enabled("macro_btn_starredio"));
  EXPECT_TRUE(Enabled("macro_action_list"));
  EXPECT_EQ(host_.messages, (std::vector<std::string>{"macro_record_failed_text"}));
}

TEST_F(MacroPanelTest, EditsAreSavedAndEmptyDelaysBecomeZero) {
  ASSERT_EQ(panel_->NewMacro(), MacroLibrary::Status::kOk);
  menu_choice_ = QStringLiteral("left_click");
  ASSERT_TRUE(Click("macro_btn_insert_menu"));
  EXPECT_EQ(Delays(0), (std::vector<std::string>{"50", "50"}));
  DelayEdit(0)->setText(QString());
  DelayEdit(1)->setText(QStringLiteral("0300"));
  ASSERT_TRUE(Click("macro_btn_save"));
  EXPECT_EQ(Delays(0), (std::vector<std::string>{"0", "300"}));
  EXPECT_EQ(DelayEdit(0)->text(), QStringLiteral("0"));

  panel_->SelectEvent(1);
  ASSERT_TRUE(Click("macro_btn_uptop"));
  EXPECT_EQ(MacroFileOf(0)["Events"][0]["Action"].asString(), "up");
  DelayEdit(0)->setText(QStringLiteral("999"));
  ASSERT_TRUE(Click("macro_btn_cancel"));  // back to the file
  EXPECT_EQ(DelayEdit(0)->text(), QStringLiteral("300"));
  ASSERT_TRUE(Click("macro_btn_deleteall"));
  EXPECT_EQ(MacroFileOf(0)["Events"].size(), 0u);
}

TEST_F(MacroPanelTest, MenuItemsRecordBeforeAfterOrInPlace) {
  ASSERT_EQ(panel_->NewMacro(), MacroLibrary::Status::kOk);
  ASSERT_TRUE(panel_->InsertMouseItem(QStringLiteral("right_click")));
  struct Case {
    const char* item;
    int selected;
    std::string mode;
    int rows;
    int key_row;  // where the recorded A press lands
  };
  const Case cases[] = {
      {"redio_previous_ignore_time", 0, "StartCapture(8)", 3, 0},
      {"redio_later_constant_time", 0, "StartCapture(16)", 4, 1},
      {"macro_action_edit", 3, "StartCapture(32)", 4, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    panel_->SelectEvent(c.selected);
    menu_choice_ = QString::fromLatin1(c.item);
    ASSERT_TRUE(panel_->HandleMenuChoice(menu_choice_));
    EXPECT_EQ(host_.calls.back(), c.mode);
    host_.capture(Key(0x1E, true));
    panel_->StopRecording();
    EXPECT_EQ(panel_->Events().Count(), c.rows);
    EXPECT_EQ(panel_->Events().events[static_cast<size_t>(c.key_row)].type, kMacroKey);
  }
}

TEST_F(MacroPanelTest, ImportNamesAfterTheFileAndRefusesOthers) {
  const std::string source = folder_.File("combo.mac");
  testing::WriteText(source, R"({"MacroName": "x", "Guid": "y", "Events": [
      {"Action": "down", "Button": 4, "Type": 10, "Delay": "5"}], "Version": 64})");
  host_.open_path = QString::fromStdString(source);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Click("macro_btn_import"));
  EXPECT_EQ(host_.names, (std::vector<std::string>{"combo", "combo_1", "combo_1_2"}));
  EXPECT_EQ(panel_->SelectedMacro(), 2);
  EXPECT_EQ(panel_->Events().Count(), 1);

  testing::WriteText(folder_.File("bad.mac"), "garbage");
  host_.messages.clear();
  EXPECT_EQ(panel_->ImportMacro(folder_.File("bad.mac")), MacroLibrary::Status::kRefused);
  EXPECT_EQ(host_.messages, (std::vector<std::string>{"macro_import_refused_text"}));

  host_.save_path = QString::fromStdString(folder_.File("out.mac"));
  ASSERT_TRUE(Click("macro_btn_export"));
  EXPECT_EQ(testing::ReadText(folder_.File("out.mac")), testing::ReadText(source));
}

TEST(MacroLayout, HasEveryControlAndEveryTextInBothLanguages) {
  QWidget window;
  CMacroControlUI panel(&window);
  panel.LoadMacroList();
  for (const char* name : {"macro_name_list",
                           "macro_btn_name_add",
                           "macro_btn_name_sub",
                           "macro_btn_name_edit",
                           "macro_edit_macroname",
                           "macro_btn_save",
                           "macro_btn_cancel",
                           "macro_btn_import",
                           "macro_btn_export",
                           "macro_btn_starredio",
                           "macro_btn_stopredio",
                           "macro_btn_up",
                           "macro_btn_down",
                           "macro_btn_uptop",
                           "macro_btn_downbottom",
                           "macro_btn_delete",
                           "macro_btn_deleteall",
                           "macro_inset_moveleftkey_btn",
                           "macro_inset_moverightkey_btn",
                           "macro_inset_moveupkey_btn",
                           "macro_inset_movedownkey_btn",
                           "mouse_x_left_edit",
                           "mouse_x_right_edit",
                           "mouse_y_up_edit",
                           "mouse_y_down_edit",
                           "macro_action_list",
                           "macro_action_layout",
                           "mouse_move_layout",
                           "macro_check_time",
                           "macro_fixed_time_edit",
                           "macro_name_tab",
                           "macro_tab_macroaction_edit",
                           "macro_tab_macrodelay_edit"})
    EXPECT_NE(FindControl(&panel, QString::fromLatin1(name)), nullptr) << name;

  std::unique_ptr<QMenu> menu =
      BuildMenuFromLayout(QString::fromLatin1(CMacroControlUI::kActionMenu));
  ASSERT_TRUE(menu);
  QStringList items;
  for (QAction* action : menu->actions()) {
    if (!action->isSeparator()) items << ChoiceOf(action).name;
  }
  EXPECT_EQ(items.size(), 22);
  for (const char* item : {"left_down", "back_click", "redio_previous_record_time",
                           "redio_later_ignore_time", "macro_action_edit"})
    EXPECT_TRUE(items.contains(QLatin1String(item))) << item;

  const QString skin = QStringLiteral(VORLIN_SOURCE_DIR "/data/skin/");
  QSet<QString> keys;
  for (const char* layout : {CMacroControlUI::kLayout, CMacroControlUI::kActionMenu}) {
    const std::optional<QSet<QString>> found = test::LayoutTextKeys(skin + QLatin1String(layout));
    ASSERT_TRUE(found) << layout;
    keys += *found;
  }
  // The texts the panel sets itself.
  for (const char* key : {"message_text_2",
                          "message_text_4",
                          "message_text_5",
                          "message_text_17",
                          "message_text_25",
                          "message_text_28",
                          "message_text_30",
                          "message_text_31",
                          "macro_save_failed_text",
                          "macro_import_refused_text",
                          "macro_export_failed_text",
                          "macro_record_failed_text",
                          "macro_profiles_not_updated_text",
                          "macro_delay_tip",
                          "macro_move_left_text",
                          "macro_move_right_text",
                          "macro_move_up_text",
                          "macro_move_down_text",
                          "macro_other_event_text",
                          "macro_state_down_text",
                          "macro_state_up_text",
                          "mouse_key_left",
                          "mouse_key_back"})
    keys << QString::fromLatin1(key);
  for (const char* language : {"lan_en.xml", "lan_cn.xml"}) {
    const std::optional<QStringList> missing =
        test::KeysWithoutText(skin + QLatin1String(language), keys);
    ASSERT_TRUE(missing) << language;
    EXPECT_TRUE(missing->isEmpty()) << language << ": " << missing->join(u' ').toStdString();
  }
}

}  // namespace
}  // namespace vorlin
