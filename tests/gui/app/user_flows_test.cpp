// What users do with their profiles and lighting, performed as they perform it (through the pages'
// controls, the devices on threads of their own as in the program), each flow checked where it
// must end: in the emulated devices' memory and in the profile documents.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/report_status_bar.h"
#include "devices/mouse_key_tables.h"
#include "hid/device_link.h"
#include "key_set/key_set_control_ui.h"
#include "lighting/light_control_ui.h"
#include "mouse_fixture.h"
#include "pages/function_view.h"
#include "pages/mouse_panels.h"
#include "profile_bar/common_file_dialogs.h"
#include "profile_bar/device_profile_ui.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/profile_list.h"
#include "ui/device_key_button.h"
#include "ui/field_notice.h"
#include "ui/find_control.h"
#include "ui/light_colour.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

// The forward button: key list entry 3, the mouse's key slot 4.
constexpr int kForward = 3;
constexpr size_t kForwardSlot = 4;
constexpr uint32_t kDpiDown = 0x130200;

// Dialogs that answer with a prepared path.
class AnsweringDialogs : public CommonFileDialogs {
 public:
  explicit AnsweringDialogs(QString path) : path_(std::move(path)) {}
  QString OpenFile(QWidget*, const QString&) override { return path_; }
  QString SaveFile(QWidget*, const QString&) override { return path_; }

 private:
  QString path_;
};

class UserFlowsTest : public test::MouseFixture {
 protected:
  bool DeviceThreads() const override { return true; }

  void SetUp() override {
    MouseFixture::SetUp();
    if (HasFatalFailure()) return;
    // Every question of the profile bar is answered yes.
    page_->ProfileBar()->SetMessageBox(
        [](QWidget*, const QString&, int, const QString&) { return 1; });
  }

  template <typename T = QWidget>
  T* Control(DevicePage* page, const char* name) const {
    return FindControl<T>(page, QString::fromLatin1(name));
  }
  void Click(DevicePage* page, const char* name) {
    auto* button = Control<QAbstractButton>(page, name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }
  void Settle(DevicePage* page = nullptr) {
    ASSERT_TRUE(WaitIdle(page ? page : page_));
  }

  // The mouse's forward button becomes "DPI down" through the key panel, applied.
  void GiveForwardDpiDown() {
    page_->SetFunctionView(kKeysView);
    Click(page_, "key_3");
    auto* kinds = Control<QComboBox>(page_, "keyset_function_combo");
    for (int i = 0; i < kinds->count(); ++i) {
      kinds->setCurrentIndex(i);
      if (page_->Mouse()->KeyPanel()->SelectedKind() == 4) break;
    }
    Control<QComboBox>(page_, "keyset_mousedpi_combo")->setCurrentIndex(1);
    Click(page_, "key_butt_keysave");
    Settle();
    Click(page_, "key_butt_prosave");
    Settle();
  }
  // A steady colour chosen on `page`'s lighting panel: the effect list, then the three edits.
  void ChooseSteady(DevicePage* page, int steady_mode, int red, int green, int blue) {
    page->SetFunctionView(kLightingView);
    auto* modes = Control<QComboBox>(page, "light_combo_modeSelect");
    ASSERT_NE(modes, nullptr);
    modes->setCurrentIndex(steady_mode);
    const std::pair<const char*, int> channels[] = {
        {"deng_edit_R", red}, {"deng_edit_G", green}, {"deng_edit_B", blue}};
    for (const auto& [name, value] : channels) {
      auto* edit = Control<QLineEdit>(page, name);
      edit->setText(QString::number(value));
      SendNotification(edit, QString::fromLatin1(notify::kKillFocus));
    }
    Settle(page);
  }
  // Picks the profile of `id` in the profile combo and waits until the device has it whole.
  // (Profiles made by earlier tests may be in the list too.)
  void PickProfile(const std::string& id) {
    auto* combo = Control<QComboBox>(page_, "device_profile_combo");
    ASSERT_NE(combo, nullptr);
    const std::vector<ProfileEntry>& profiles = page_->ProfileBar()->List().Profiles();
    int index = -1;
    for (size_t i = 0; i < profiles.size(); ++i) {
      if (profiles[i].id == id) index = static_cast<int>(i);
    }
    ASSERT_GE(index, 0) << id;
    combo->setCurrentIndex(index);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page_->Client().View().profileId == id; }, 3000));
    Settle();
  }
  std::string CurrentId() const { return page_->Client().View().profileId; }
  // Both of the mouse's connections go; the page sees it gone.
  void TakeTheMouseAway() {
    emulator_.Mouse().Cable().Unplug();
    emulator_.Mouse().Receiver()->Unplug();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return page_->Client().View().connection == ConnectionKind::kNone; }, 3000));
  }

  std::array<uint8_t, 3> ForwardSlotInMouse() {
    const FirmwareMemory memory = Memory();
    return {memory.keyTable[kForwardSlot * 3], memory.keyTable[kForwardSlot * 3 + 1],
            memory.keyTable[kForwardSlot * 3 + 2]};
  }
  std::array<uint8_t, 3> ColourInMouse() {
    const FirmwareMemory memory = Memory();
    return {memory.params[6], memory.params[7], memory.params[8]};
  }
  static Json::Value DeviceEntry(const std::string& path) {
    return Element(Member(JsonFileIo::ReadJsonFile(path), "Device"), 0);
  }
  static uint32_t ForwardInDocument(const std::string& path) {
    const Json::Value entry = DeviceEntry(path);
    return static_cast<uint32_t>(
        ReadInt(Element(Member(entry, "KeyList"), kForward), "Assignment"));
  }
  static std::array<int, 3> ColourInDocument(const std::string& path) {
    const Json::Value entry = DeviceEntry(path);
    const Json::Value& light = Member(entry, "LightInfo");
    return {ReadInt(light, "Red"), ReadInt(light, "Green"), ReadInt(light, "Blue")};
  }
  std::string CurrentDocument() const { return page_->Client().View().profilePath; }
  static constexpr int kMouseSteady = 3;
};

using Colour = std::array<uint8_t, 3>;

TEST_F(UserFlowsTest, SwitchingProfilesWritesEachProfileWhole) {
  const std::array<uint8_t, 3> factory_forward = ForwardSlotInMouse();
  GiveForwardDpiDown();
  ChooseSteady(page_, kMouseSteady, 255, 0, 0);
  const std::string first = CurrentDocument();
  const std::string first_id = CurrentId();
  ASSERT_EQ(ForwardInDocument(first), kDpiDown);
  ASSERT_EQ(ForwardSlotInMouse(), (Colour{0x13, 0x02, 0x00}));

  // A second profile: current at once, and the mouse gets its (factory) settings.
  Click(page_, "device_add_btn");
  Settle();
  const std::string second = CurrentDocument();
  const std::string second_id = CurrentId();
  ASSERT_NE(second, first);
  EXPECT_EQ(ForwardSlotInMouse(), factory_forward);
  ChooseSteady(page_, kMouseSteady, 0, 0, 255);
  EXPECT_EQ(ColourInMouse(), (Colour{0, 0, 255}));

  // Back to the first: its button and its colour reach the mouse, and the page shows them.
  page_->SetFunctionView(kKeysView);
  Click(page_, "key_3");
  PickProfile(first_id);
  EXPECT_EQ(ForwardSlotInMouse(), (Colour{0x13, 0x02, 0x00})) << Trace();
  EXPECT_EQ(ColourInMouse(), (Colour{255, 0, 0}));
  EXPECT_EQ(Control<QLineEdit>(page_, "deng_edit_R")->text(), QStringLiteral("255"));
  EXPECT_EQ(page_->Mouse()->KeyPanel()->Pair().current.PackedCode(), kDpiDown)
      << "the key panel shows the profile's own function of the selected button";
  EXPECT_FALSE(Control<QAbstractButton>(page_, "key_butt_prosave")->isEnabled());

  // And to the second again: nothing of the first leaks into it, and a save keeps both.
  PickProfile(second_id);
  EXPECT_EQ(ForwardSlotInMouse(), factory_forward);
  EXPECT_EQ(ColourInMouse(), (Colour{0, 0, 255}));
  Click(page_, "key_butt_keysave");
  Settle();
  EXPECT_EQ(ForwardInDocument(first), kDpiDown);
  EXPECT_NE(ForwardInDocument(second), kDpiDown);
}

TEST_F(UserFlowsTest, CopyImportAndDeletingTheCurrentProfileWriteTheNewCurrentOne) {
  const std::string original = CurrentId();
  const int count = page_->ProfileBar()->List().Count();
  ChooseSteady(page_, kMouseSteady, 0, 255, 0);
  Click(page_, "device_copy_btn");
  Settle();
  const std::string copy = CurrentDocument();
  EXPECT_EQ(ColourInDocument(copy), (std::array<int, 3>{0, 255, 0}));
  ChooseSteady(page_, kMouseSteady, 0, 0, 255);

  // The copy, exported and imported again, is a profile of its own that the mouse gets.
  const QString file = QString::fromStdString(UserFile("exported.json"));
  page_->ProfileBar()->SetFileDialogs(std::make_unique<AnsweringDialogs>(file));
  Click(page_, "device_export_btn");
  PickProfile(original);
  ASSERT_EQ(ColourInMouse(), (Colour{0, 255, 0}));
  Click(page_, "device_import_btn");
  Settle();
  EXPECT_EQ(ColourInMouse(), (Colour{0, 0, 255})) << Trace();
  EXPECT_EQ(page_->ProfileBar()->List().Count(), count + 2);

  // Deleting the current profile (the import, last in the list) makes the one before it (the
  // copy) current, and the mouse gets it.
  const std::string copy_id = page_->ProfileBar()->List().Profiles().at(count).id;
  ASSERT_EQ(ProfileDocumentPath(window_->Devices()->Folders(), "mouse", copy_id), copy);
  Click(page_, "device_sub_btn");  // the imported profile, which is current
  Settle();
  EXPECT_EQ(CurrentDocument(), copy);
  EXPECT_EQ(ColourInMouse(), (Colour{0, 0, 255}));
  PickProfile(original);
  ASSERT_EQ(ColourInMouse(), (Colour{0, 255, 0}));
  std::filesystem::remove(file.toStdString());
}

TEST_F(UserFlowsTest, RestoringTheFactorySettingsWritesThemAndResetsTheSharedFiles) {
  const std::array<uint8_t, 3> factory_forward = ForwardSlotInMouse();
  const Colour factory_colour = ColourInMouse();
  GiveForwardDpiDown();
  ChooseSteady(page_, kMouseSteady, 1, 2, 3);
  const std::string root = window_->Devices()->Folders().user_data_root;
  std::ofstream(root + "/color_option_info.config") << R"({"coloroptioninfo": {}})";
  std::ofstream(root + "/AudioFile.json") << R"({"Device": {"changed": true}})";
  ASSERT_FALSE(page_->KeyButtons()[kForward]->IsSetMarkHidden());

  Click(page_, "device_reset_btn");
  Settle();

  EXPECT_EQ(ForwardSlotInMouse(), factory_forward) << Trace();
  EXPECT_EQ(ColourInMouse(), factory_colour);
  EXPECT_NE(ForwardInDocument(CurrentDocument()), kDpiDown);
  EXPECT_FALSE(std::filesystem::exists(root + "/color_option_info.config"));
  const Json::Value groups = JsonFileIo::ReadJsonFile(root + "/AudioFile.json");
  EXPECT_EQ(groups, JsonFileIo::ReadJsonFile(VORLIN_SOURCE_DIR "/data/DefaultData/AudioFile.json"));
  EXPECT_TRUE(page_->KeyButtons()[kForward]->IsSetMarkHidden());
}

// The mouse is away when the user applies a button's new function: the change is kept and
// reaches the mouse as soon as it is back, never dropped for the mouse's own codes.
TEST_F(UserFlowsTest, AKeyChangeMadeWhileTheMouseIsAwayReachesItWhenItIsBack) {
  emulator_.Mouse().Cable().Unplug();
  emulator_.Mouse().Receiver()->Unplug();
  ASSERT_TRUE(WaitShown({"keyboard", "MousePad", "HD"}));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return page_->Client().View().connection == ConnectionKind::kNone; }, 3000));
  GiveForwardDpiDown();
  EXPECT_EQ(ForwardInDocument(CurrentDocument()), kDpiDown);
  EXPECT_NE(ForwardSlotInMouse(), (Colour{0x13, 0x02, 0x00}));
  EXPECT_TRUE(Control<QAbstractButton>(page_, "key_butt_prosave")->isEnabled())
      << "the change still waits for the mouse";

  emulator_.Mouse().Receiver()->Plug();
  EXPECT_TRUE(QTest::qWaitFor([&] { return ForwardSlotInMouse() == Colour{0x13, 0x02, 0x00}; },
                              8000))
      << Trace();
  EXPECT_EQ(ForwardInDocument(CurrentDocument()), kDpiDown);
  EXPECT_EQ(page_->Client().KeyList()[kForward].current.PackedCode(), kDpiDown);
}

// The colour chosen while the mouse was away is the profile's: once the mouse is back it gets it,
// rather than its old colour replacing the user's choice in the profile.
TEST_F(UserFlowsTest, ALightChangeMadeWhileTheMouseIsAwayReachesItWhenItIsBack) {
  ASSERT_NO_FATAL_FAILURE(TakeTheMouseAway());
  ChooseSteady(page_, kMouseSteady, 0, 255, 0);
  EXPECT_EQ(ColourInDocument(CurrentDocument()), (std::array<int, 3>{0, 255, 0}));
  EXPECT_NE(ColourInMouse(), (Colour{0, 255, 0}));

  emulator_.Mouse().Receiver()->Plug();
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return ColourInMouse() == Colour{0, 255, 0}; }, 8000))
      << Trace();
  ASSERT_TRUE(QTest::qWaitFor([&] { return page_->Client().View().deviceRead; }, 5000));
  Settle();
  EXPECT_EQ(ColourInDocument(CurrentDocument()), (std::array<int, 3>{0, 255, 0}));
  EXPECT_EQ(page_->Client().Lighting().green, 255);

  // Once written, the mouse's own record is what a later reading takes.
  emulator_.Mouse().Receiver()->Unplug();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return page_->Client().View().connection == ConnectionKind::kNone; }, 3000));
  emulator_.Bus()->ClearTrace();
  emulator_.Mouse().Receiver()->Plug();
  ASSERT_TRUE(QTest::qWaitFor([&] { return page_->Client().View().deviceRead; }, 8000));
  Settle();
  EXPECT_EQ(CountOf(kMouseReceiverProductId, kCmdWriteParams), 0) << Trace();
}

// The program is closed while the colour waits for the mouse: after a new start the mouse still
// gets the user's colour when it is back, rather than giving its old one to the profile.
TEST_F(UserFlowsTest, ALightChangeWaitingForTheMouseOutlivesARestart) {
  ASSERT_NO_FATAL_FAILURE(TakeTheMouseAway());
  ChooseSteady(page_, kMouseSteady, 0, 0, 255);
  const std::string document = CurrentDocument();

  RestartWindow();
  page_ = PageOf("mouse");
  ASSERT_NE(page_, nullptr);
  emulator_.Mouse().Receiver()->Plug();
  EXPECT_TRUE(QTest::qWaitFor([&] { return ColourInMouse() == Colour{0, 0, 255}; }, 8000))
      << Trace();
  ASSERT_TRUE(QTest::qWaitFor([&] { return page_->Client().View().deviceRead; }, 5000));
  Settle();
  EXPECT_EQ(ColourInDocument(document), (std::array<int, 3>{0, 0, 255}));
}

// ---- What the user is told about each change ----

class ChangeFeedbackTest : public UserFlowsTest {
 protected:
  QLabel* StatusText() const {
    return FindControl<QLabel>(window_->Window(), QStringLiteral("status_text"));
  }
  QAbstractButton* RetryButton() const {
    return FindControl<QAbstractButton>(window_->Window(), QStringLiteral("status_retry"));
  }
  static QString Said(const char* key) {
    return Translator::Instance().Text(QString::fromLatin1(key));
  }
  // What the status bar says of a change of the mouse: its name, then the outcome.
  QString MouseSaid(const char* key) const {
    const Translator& texts = Translator::Instance();
    return texts.Text(QStringLiteral("status_device_said_text"))
        .arg(texts.Text(QString::fromStdString(page_->Product().iconStem) +
                        QStringLiteral("_device_name_text")),
             Said(key));
  }
  bool RetryOffered() const { return RetryButton() && !RetryButton()->isHidden(); }
};

// A colour the mouse refuses is said to have failed, with the reason, and stays said with a
// retry; once the mouse takes writes again, the retry writes the profile and the status says so.
TEST_F(ChangeFeedbackTest, ARefusedLightChangeIsSaidAndRetriedOnceTheMouseTakesItAgain) {
  emulator_.Mouse().Cable().FailReplies(100000, kStatusRefused);
  ChooseSteady(page_, kMouseSteady, 0, 255, 0);
  ASSERT_NE(StatusText(), nullptr);
  EXPECT_EQ(StatusText()->text(), MouseSaid("status_failed_refused_text"));
  EXPECT_NE(StatusText()->text(), QStringLiteral("status_failed_refused_text"));
  EXPECT_TRUE(RetryOffered());
  EXPECT_NE(ColourInMouse(), (Colour{0, 255, 0}));
  EXPECT_EQ(ColourInDocument(CurrentDocument()), (std::array<int, 3>{0, 255, 0}));
  // The failure is not a flash: it is still said after the written reports' time is over.
  QTest::qWait(ReportStatusBar::kWrittenShownMs + 300);
  EXPECT_EQ(StatusText()->text(), MouseSaid("status_failed_refused_text"));

  emulator_.Mouse().Cable().ClearFaults();
  emulator_.Bus()->ClearTrace();
  RetryButton()->click();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return ColourInMouse() == Colour{0, 255, 0};
      },
      5000))
      << Trace();
  Settle();
  EXPECT_GT(CountOf(kMouseCableProductId, kCmdWriteParams), 0) << Trace();
  EXPECT_EQ(StatusText()->text(), MouseSaid("status_written_text"));
  EXPECT_FALSE(RetryOffered());
}

// A key table the mouse refuses is a failure, never "applied": the change stays pending.
TEST_F(ChangeFeedbackTest, ARefusedKeyTableIsSaidToHaveFailedAndStaysPending) {
  emulator_.Mouse().Cable().FailReplies(100000, kStatusRefused);
  // The key panel's own message about the table is answered as the user would.
  int messages = 0;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&messages] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      ++messages;
      box->close();
    }
  });
  answer.start(50);
  GiveForwardDpiDown();
  answer.stop();
  EXPECT_EQ(messages, 1);
  EXPECT_EQ(StatusText()->text(), MouseSaid("status_failed_refused_text"));
  EXPECT_TRUE(RetryOffered());
  EXPECT_TRUE(Control<QAbstractButton>(page_, "key_butt_prosave")->isEnabled())
      << "the change still waits for the mouse";
  EXPECT_NE(ForwardSlotInMouse(), (Colour{0x13, 0x02, 0x00}));
  EXPECT_EQ(ForwardInDocument(CurrentDocument()), kDpiDown);
}

// A mouse that answers with another command's reply, or not at all, is said so.
TEST_F(ChangeFeedbackTest, AWrongOrMissingAnswerIsSaidAsSuch) {
  struct Case {
    const char* name;
    std::function<void(EmulatedDevice&)> fault;
    const char* said;
  };
  const Case cases[] = {
      {"wrong echo", [](EmulatedDevice& d) { d.WrongEcho(100000); },
       "status_failed_wrong_answer_text"},
      {"no reply", [](EmulatedDevice& d) { d.DropReplies(100000); },
       "status_failed_no_answer_text"},
  };
  // One colour change each, with short reply waits: what is said matters here, not the waiting.
  ChooseSteady(page_, kMouseSteady, 0, 0, 0);
  mouse_->Link().SetReplyTimeouts({100, 100, 100});
  auto* red = Control<QLineEdit>(page_, "deng_edit_R");
  int value = 10;
  for (const Case& c : cases) {
    c.fault(emulator_.Mouse().Cable());
    red->setText(QString::number(value++));
    SendNotification(red, QString::fromLatin1(notify::kKillFocus));
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusText()->text() == MouseSaid(c.said); }, 15000))
        << c.name << ": " << StatusText()->text().toStdString();
    EXPECT_TRUE(RetryOffered()) << c.name;
    emulator_.Mouse().Cable().ClearFaults();
  }
}

// A DPI typed as letters writes nothing and says what the field takes.
TEST_F(ChangeFeedbackTest, LettersTypedIntoADpiFieldWriteNothingAndSaySo) {
  page_->SetFunctionView(kSettingsView);
  auto* edit = Control<QLineEdit>(page_, "DPI_edit_1");
  ASSERT_NE(edit, nullptr);
  const QString before = edit->text();
  const FirmwareMemory memory = Memory();
  emulator_.Bus()->ClearTrace();
  edit->setText(QStringLiteral("abc"));
  SendNotification(edit, QString::fromLatin1(notify::kKillFocus));
  Settle();
  EXPECT_EQ(CountOf(kMouseCableProductId, kCmdWriteParams), 0) << Trace();
  EXPECT_EQ(edit->text(), before);
  EXPECT_EQ(FieldNotice(edit), Said("typed_dpi_range_text").arg(100).arg(26000));
  EXPECT_TRUE(FieldNotice(edit).contains(QStringLiteral("26000")));
  EXPECT_EQ(Memory().params, memory.params);
}

// The mouse is pulled out while a colour is being written: the change is not lost (the profile
// document holds it), and the status bar says it did not reach the mouse.
TEST_F(ChangeFeedbackTest, AMouseUnpluggedMidWriteKeepsTheChangeInTheProfileAndSaysSo) {
  emulator_.Mouse().Receiver()->Unplug();
  emulator_.Bus()->ClearTrace();
  // The configuration start and the record's first chunk go through; the second chunk does not.
  emulator_.Mouse().Cable().UnplugAfter(2);
  ChooseSteady(page_, kMouseSteady, 0, 0, 255);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return page_->Client().View().connection == ConnectionKind::kNone; }, 5000));
  Settle();
  const QStringList away = {MouseSaid("status_profile_only_text"),
                            MouseSaid("status_failed_unplugged_text"),
                            MouseSaid("status_failed_no_answer_text")};
  EXPECT_TRUE(away.contains(StatusText()->text())) << StatusText()->text().toStdString();
  EXPECT_TRUE(RetryOffered());
  EXPECT_EQ(ColourInDocument(CurrentDocument()), (std::array<int, 3>{0, 0, 255}));
  // A retry while the mouse is away keeps the change in the profile and says so.
  RetryButton()->click();
  Settle();
  EXPECT_EQ(StatusText()->text(), MouseSaid("status_profile_only_text"));
  EXPECT_TRUE(RetryOffered());
}

}  // namespace
}  // namespace vorlin
