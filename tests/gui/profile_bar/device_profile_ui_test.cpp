// The profile bar driven through its controls, as the main window routes them.
#include "support/layout_text_keys.h"
#include "profile_bar/device_profile_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSize>
#include <QTest>
#include <QXmlStreamReader>

#include "gui/profile_bar/profile_bar_test_support.h"
#include "shell/message_box.h"
#include "ui/language_file.h"
#include "ui/layout_loader.h"

namespace vorlin {
namespace {

using testing::ProfileBarTest;

TEST_F(ProfileBarTest, TheComboShowsTheList) {
  EXPECT_EQ(ComboTexts(), QStringList{QStringLiteral("profile1")});
  EXPECT_EQ(Combo()->currentIndex(), 0);
  EXPECT_EQ(Combo()->itemData(0).toString(), QStringLiteral("profile1"));
  EXPECT_EQ(Combo()->itemData(0, Qt::SizeHintRole).toSize().height(), 30);
  EXPECT_EQ(Control<QLineEdit>("device_profile_name_edit")->text(), QStringLiteral("profile1"));
  EXPECT_EQ(bar_->GetProfileCount(), 1);
  EXPECT_EQ(bar_->GetProfilePath(0), folder_ + bar_->GetCurrentProfileId() + ".Json");
  // Loading does not apply anything: the page loads the current profile itself.
  EXPECT_TRUE(host_.applied.empty());

  Click("device_add_btn");
  Click("device_add_btn");
  EXPECT_EQ(ComboTexts(), (QStringList{QStringLiteral("profile1"), QStringLiteral("profile2"),
                                       QStringLiteral("profile3")}));
  EXPECT_EQ(bar_->GetCurrentIndex(), 2);
  EXPECT_EQ(Control<QLineEdit>("device_profile_name_edit")->text(), QStringLiteral("profile3"));

  // A restarted page shows the same list with the same profile current.
  window_.reset();
  router_.bars.clear();
  dialogs_ = nullptr;
  SetUp();
  EXPECT_EQ(ComboTexts().size(), 3);
  EXPECT_EQ(bar_->GetCurrentIndex(), 2);
}

TEST_F(ProfileBarTest, ButtonsAskFirstAndDoNothingWhenDeclined) {
  ASSERT_EQ(bar_->AddProfile().index, 1);
  ASSERT_EQ(bar_->AddProfile().index, 2);
  host_.applied.clear();
  struct Case {
    const char* button;
    const char* question;
    QStringList combo_after_yes;
    int current_after_yes;
  };
  const Case cases[] = {
      {"device_add_btn", "message_text_27?", {"profile1", "profile2", "profile3", "profile4"}, 3},
      {"device_copy_btn",
       "message_text_26?",
       {"profile1", "profile2", "profile3", "profile4", "profile4 copy"},
       4},
      {"device_sub_btn", "message_text_29?", {"profile1", "profile2", "profile3", "profile4"}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    const auto files = FolderFiles();
    const QStringList combo = ComboTexts();
    asked.clear();
    answers = {0};
    Click(c.button);
    EXPECT_EQ(asked, QStringList{QString::fromLatin1(c.question)});
    EXPECT_EQ(FolderFiles(), files);
    EXPECT_EQ(ComboTexts(), combo);
    EXPECT_TRUE(host_.applied.empty());

    asked.clear();
    Click(c.button);
    EXPECT_EQ(asked, QStringList{QString::fromLatin1(c.question)});
    EXPECT_EQ(ComboTexts(), c.combo_after_yes);
    EXPECT_EQ(bar_->GetCurrentIndex(), c.current_after_yes);
    // The profile now current goes into the device at once.
    ASSERT_EQ(host_.applied.size(), 1u);
    EXPECT_EQ(host_.applied.back().first, IdAt(c.current_after_yes));
    EXPECT_EQ(host_.applied.back().second, bar_->GetProfilePath(c.current_after_yes));
    EXPECT_EQ(ListOnDisk()["profileselect"], c.current_after_yes);
    host_.applied.clear();
  }
}

TEST_F(ProfileBarTest, ResetAsksAndLeavesTheWorkToThePage) {
  const auto files = FolderFiles();
  answers = {0, 1};
  Click("device_reset_btn");
  EXPECT_EQ(host_.resets, 0);
  Click("device_reset_btn");
  EXPECT_EQ(host_.resets, 1);
  EXPECT_EQ(asked,
            (QStringList{QStringLiteral("message_text_22?"), QStringLiteral("message_text_22?")}));
  EXPECT_EQ(FolderFiles(), files);
}

TEST_F(ProfileBarTest, APickedProfileIsAppliedOnceTheChoiceRests) {
  bar_->AddProfile();
  bar_->AddProfile();
  host_.applied.clear();
  // The user runs through the list: only where they stop is loaded into the device.
  Combo()->setCurrentIndex(0);
  Combo()->setCurrentIndex(1);
  EXPECT_TRUE(host_.applied.empty());
  QTRY_COMPARE_WITH_TIMEOUT(host_.applied.size(), size_t{1}, 3000);
  EXPECT_EQ(host_.applied[0].first, IdAt(1));
  EXPECT_EQ(bar_->GetCurrentProfileId(), IdAt(1));
  EXPECT_EQ(Control<QLineEdit>("device_profile_name_edit")->text(), QStringLiteral("profile2"));
  EXPECT_EQ(ListOnDisk()["profileselect"], 1);
  QTest::qWait(CDeviceProfileUI::kSwitchDelayMs + 100);
  EXPECT_EQ(host_.applied.size(), 1u);
}

TEST_F(ProfileBarTest, RenameShowsWhyANameIsRefused) {
  bar_->AddProfile();
  bar_->SelectProfile(0);
  struct Case {
    const char* name;
    QStringList messages;
    const char* combo_text;
  };
  const Case cases[] = {
      {"", {"message_text_25"}, "profile1"},
      {"   ", {"message_text_25"}, "profile1"},
      {"PROFILE2", {"message_text_5"}, "profile1"},
      {"Gaming", {}, "Gaming"},
      {"gaming", {}, "gaming"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    asked.clear();
    Control<QLineEdit>("device_profile_name_edit")->setText(QString::fromUtf8(c.name));
    Click("device_profile_edit_save_btn");
    EXPECT_EQ(asked, c.messages);
    EXPECT_EQ(Combo()->itemText(0), QString::fromLatin1(c.combo_text));
    EXPECT_EQ(Combo()->itemData(0).toString(), QString::fromLatin1(c.combo_text));
    EXPECT_EQ(Combo()->itemText(1), QStringLiteral("profile2"));
  }
  EXPECT_EQ(JsonFileIo::ReadJsonFile(bar_->GetProfilePath(0))["profilename"], "gaming");
}

TEST_F(ProfileBarTest, DeletingTheCurrentProfileAppliesTheOneBeforeIt) {
  bar_->AddProfile();
  bar_->AddProfile();
  const std::string gone = bar_->GetProfilePath(2);
  host_.applied.clear();
  Click("device_sub_btn");
  EXPECT_EQ(ComboTexts(), (QStringList{QStringLiteral("profile1"), QStringLiteral("profile2")}));
  EXPECT_EQ(bar_->GetCurrentIndex(), 1);
  EXPECT_FALSE(std::filesystem::exists(gone));
  ASSERT_EQ(host_.applied.size(), 1u);
  EXPECT_EQ(host_.applied[0].first, IdAt(1));

  // Down to the last profile, which stays.
  Click("device_sub_btn");
  host_.applied.clear();
  asked.clear();
  asked_about.clear();
  const auto files = FolderFiles();
  Click("device_sub_btn");
  EXPECT_EQ(asked, QStringList{QStringLiteral("message_text_29?")});
  EXPECT_EQ(asked_about, QStringList{QStringLiteral("profile1")}) << "the question names it";
  EXPECT_EQ(ComboTexts(), QStringList{QStringLiteral("profile1")});
  EXPECT_EQ(FolderFiles(), files);
  EXPECT_TRUE(host_.applied.empty());
}

TEST_F(ProfileBarTest, TheFiftyFirstProfileIsRefusedWithAMessage) {
  for (int i = 1; i < ProfileList::kMaxProfiles; ++i) ASSERT_TRUE(bar_->AddProfile().ok());
  const std::string exported = temp_.filePath(QStringLiteral("one.json")).toStdString();
  ASSERT_TRUE(bar_->ExportProfile(exported));
  dialogs_->open_answer = QString::fromStdString(exported);
  const auto files = FolderFiles();
  for (const char* button : {"device_add_btn", "device_copy_btn", "device_import_btn"}) {
    SCOPED_TRACE(button);
    asked.clear();
    Click(button);
    EXPECT_TRUE(asked.contains(QStringLiteral("message_text_30"))) << asked.join(',').toStdString();
    EXPECT_EQ(Combo()->count(), 50);
    EXPECT_EQ(FolderFiles(), files);
  }
}

TEST_F(ProfileBarTest, ImportThroughTheOpenDialog) {
  Json::Value mine = JsonFileIo::ReadJsonFile(bar_->GetProfilePath(0));
  mine["Device"][0]["LightInfo"]["Red"] = 42;
  const QString file = temp_.filePath(QStringLiteral("work.json"));
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(file.toStdString(), mine));
  host_.applied.clear();

  dialogs_->open_answer = file;
  Click("device_import_btn");
  Click("device_import_btn");
  EXPECT_EQ(dialogs_->calls, (QStringList{QStringLiteral("open:Profile Files(*.json)"),
                                          QStringLiteral("open:Profile Files(*.json)")}));
  EXPECT_EQ(ComboTexts(), (QStringList{QStringLiteral("profile1"), QStringLiteral("work"),
                                       QStringLiteral("work(1)")}));
  EXPECT_EQ(bar_->GetCurrentIndex(), 2);
  EXPECT_EQ(JsonFileIo::ReadJsonFile(bar_->GetProfilePath(2))["Device"], mine["Device"]);
  ASSERT_EQ(host_.applied.size(), 2u);
  EXPECT_EQ(host_.applied[1].first, IdAt(2));
  EXPECT_TRUE(asked.isEmpty());
}

TEST_F(ProfileBarTest, AFileThatIsNoProfileOrACancelledDialogChangesNothing) {
  const QString keyboard = temp_.filePath(QStringLiteral("keyboard.json"));
  Json::Value document = JsonFileIo::ReadJsonFile(testing::FactoryPath("keyboard"));
  document["profilename"] = "kb";
  document["profileUUID"] = "kb";
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(keyboard.toStdString(), document));
  const QString text = temp_.filePath(QStringLiteral("notes.json"));
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(text.toStdString(), Json::Value("notes")));

  const auto files = FolderFiles();
  for (const QString& answer : {keyboard, text, QString()}) {
    SCOPED_TRACE(answer.toStdString());
    dialogs_->open_answer = answer;
    Click("device_import_btn");
    EXPECT_EQ(ComboTexts(), QStringList{QStringLiteral("profile1")});
    EXPECT_EQ(FolderFiles(), files);
    EXPECT_TRUE(host_.applied.empty());
    EXPECT_TRUE(asked.isEmpty());
  }
}

TEST_F(ProfileBarTest, ExportThroughTheSaveDialog) {
  const QString file = temp_.filePath(QStringLiteral("saved"));
  dialogs_->save_answer = QString();
  Click("device_export_btn");
  EXPECT_FALSE(QFile::exists(file));

  dialogs_->save_answer = file;
  Click("device_export_btn");
  EXPECT_EQ(dialogs_->calls, (QStringList{QStringLiteral("save:Profile Files(*.json)"),
                                          QStringLiteral("save:Profile Files(*.json)")}));
  // Exactly the chosen path, with the profile's document.
  EXPECT_EQ(JsonFileIo::ReadJsonFile(file.toStdString()),
            JsonFileIo::ReadJsonFile(bar_->GetProfilePath(0)));
}

TEST_F(ProfileBarTest, AFileThatCannotBeWrittenIsNotPassedOffAsDone) {
  bar_->AddProfile();
  bar_->SelectProfile(0);
  const QString exported = temp_.filePath(QStringLiteral("work.json"));
  ASSERT_TRUE(bar_->ExportProfile(exported.toStdString()));
  // A folder in the list's place: the list can be neither read nor replaced.
  std::filesystem::remove(folder_ + "ProfileList.ini");
  std::filesystem::create_directory(folder_ + "ProfileList.ini");
  const auto files = FolderFiles();
  dialogs_->open_answer = exported;
  host_.applied.clear();
  struct Case {
    const char* button;
    QStringList messages;
  };
  const Case cases[] = {
      {"device_add_btn", {"message_text_27?", "profile_save_failed_text"}},
      {"device_copy_btn", {"message_text_26?", "profile_save_failed_text"}},
      {"device_sub_btn", {"message_text_29?", "profile_save_failed_text"}},
      {"device_import_btn", {"profile_save_failed_text"}},
      {"device_profile_edit_save_btn", {"profile_save_failed_text"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    asked.clear();
    Control<QLineEdit>("device_profile_name_edit")->setText(QStringLiteral("Gaming"));
    Click(c.button);
    EXPECT_EQ(asked, c.messages);
    EXPECT_EQ(ComboTexts(), (QStringList{QStringLiteral("profile1"), QStringLiteral("profile2")}));
    EXPECT_EQ(bar_->GetCurrentIndex(), 0);
    EXPECT_EQ(FolderFiles(), files);
    EXPECT_TRUE(host_.applied.empty());
  }
  // The refused name stays in the edit to be tried again.
  EXPECT_EQ(Control<QLineEdit>("device_profile_name_edit")->text(), QStringLiteral("Gaming"));
}

TEST_F(ProfileBarTest, AnExportThatFailsIsReported) {
  bar_->AddProfile();
  const auto files = FolderFiles();
  for (const std::string& target :
       {temp_.filePath(QStringLiteral("no/such/folder.json")).toStdString(),
        folder_ + "ProfileList.ini", bar_->GetProfilePath(0)}) {
    SCOPED_TRACE(target);
    asked.clear();
    dialogs_->save_answer = QString::fromStdString(target);
    Click("device_export_btn");
    EXPECT_EQ(asked, QStringList{QStringLiteral("profile_export_failed_text")});
    EXPECT_EQ(FolderFiles(), files);
  }
  EXPECT_EQ(ComboTexts(), (QStringList{QStringLiteral("profile1"), QStringLiteral("profile2")}));
}

TEST_F(ProfileBarTest, TwoBarsOfOneFolderActOnTheProfilesTheyShow) {
  bar_->AddProfile();
  bar_->AddProfile();
  bar_->SelectProfile(1);
  // A bar made later starts on the profile that is current.
  CDeviceProfileUI* other = AddBar(folder_);
  EXPECT_EQ(other->GetCurrentIndex(), 1);
  EXPECT_EQ(other->GetCurrentProfileId(), IdAt(1));
  const std::string profile2 = IdAt(1);
  const std::string profile3 = IdAt(2);

  // This bar deletes profile1; the other one, not knowing, still shows it.
  bar_->SelectProfile(0);
  ASSERT_TRUE(bar_->DeleteProfile().ok());
  host_.applied.clear();
  // The other bar deletes what it shows as current, profile2, and loads profile3 after it.
  ASSERT_TRUE(other->DeleteProfile().ok());
  ASSERT_EQ(other->List().Count(), 1);
  EXPECT_EQ(other->GetCurrentProfileId(), profile3);
  EXPECT_FALSE(std::filesystem::exists(folder_ + profile2 + ".Json"));
  EXPECT_TRUE(std::filesystem::exists(folder_ + profile3 + ".Json"));
  auto* other_combo = FindControl<QComboBox>(other, QStringLiteral("device_profile_combo"));
  ASSERT_NE(other_combo, nullptr);
  EXPECT_EQ(other_combo->count(), 1);
  EXPECT_EQ(other_combo->itemText(0), QStringLiteral("profile3"));
  ASSERT_EQ(host_.applied.size(), 1u);
  EXPECT_EQ(host_.applied[0].first, profile3);

  // The first bar, whose current profile is now gone, moves to the one left at its next step.
  host_.applied.clear();
  Control<QLineEdit>("device_profile_name_edit")->setText(QStringLiteral("Gaming"));
  Click("device_profile_edit_save_btn");
  EXPECT_EQ(ComboTexts(), QStringList{QStringLiteral("profile3")});
  ASSERT_EQ(host_.applied.size(), 1u);
  EXPECT_EQ(host_.applied[0].first, profile3);
}

TEST_F(ProfileBarTest, TheSpreadButtonFoldsTheMenu) {
  QWidget* menu = Control("profile_menu_layout");
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->isHidden());
  Click("profile_fun_spread_btn");
  EXPECT_FALSE(menu->isHidden());
  Click("profile_fun_spread_btn");
  EXPECT_TRUE(menu->isHidden());
}

TEST_F(ProfileBarTest, EachBarAnswersOnlyForItsOwnControls) {
  CDeviceProfileUI* other = AddBar(temp_.filePath(QStringLiteral("keyboard")).toStdString() + "/");
  auto* other_add = FindControl<QPushButton>(other, QStringLiteral("device_add_btn"));
  ASSERT_NE(other_add, nullptr);
  other_add->click();
  EXPECT_EQ(other->GetProfileCount(), 2);
  EXPECT_EQ(bar_->GetProfileCount(), 1);
  EXPECT_EQ(asked, QStringList{QStringLiteral("message_text_27?")});

  Notification foreign{QStringLiteral("click"), window_.get()};
  EXPECT_FALSE(bar_->HandleNotification(foreign));
}

TEST_F(ProfileBarTest, APageLayoutCreatesTheBarWithItsTree) {
  RegisterProfileBarControls();
  std::unique_ptr<QWidget> page =
      LoadWindow(QStringLiteral(VORLIN_SOURCE_DIR "/tests/gui/profile_bar/layouts/"
                                                  "page_with_profile_bar.xml"));
  ASSERT_NE(page, nullptr);
  auto* bar = FindControl<CDeviceProfileUI>(page.get(), QStringLiteral("device_profile"));
  ASSERT_NE(bar, nullptr);
  bar->SetMessageBox([](QWidget*, const QString&, int, const QString&) { return 1; });
  bar->SetFolders(temp_.filePath(QStringLiteral("page")).toStdString(),
                  testing::FactoryPath("mouse"));
  // The tree the layout gave is used, not a second one.
  EXPECT_EQ(bar->findChildren<QComboBox*>(QStringLiteral("device_profile_combo")).size(), 1);
  auto* combo = FindControl<QComboBox>(bar, QStringLiteral("device_profile_combo"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->count(), 1);
  EXPECT_EQ(bar->GetCurrentIndex(), 0);
}

TEST_F(ProfileBarTest, EveryTextOfTheBarExistsInBothLanguages) {
  QStringList keys = {
      QStringLiteral("message_text_5"),           QStringLiteral("message_text_22"),
      QStringLiteral("message_text_25"),          QStringLiteral("message_text_26"),
      QStringLiteral("message_text_27"),          QStringLiteral("message_text_29"),
      QStringLiteral("message_text_30"),          QStringLiteral("tips_text"),
      QStringLiteral("profile_save_failed_text"), QStringLiteral("profile_export_failed_text")};
  const std::optional<QSet<QString>> layout_keys = test::LayoutTextKeys(
      testing::SkinFolder() + QLatin1Char('/') + QString::fromLatin1(CDeviceProfileUI::kLayout));
  ASSERT_TRUE(layout_keys.has_value());
  for (const QString& key : *layout_keys) keys << key;
  ASSERT_GT(keys.size(), 15);
  const QSet<QString> all(keys.begin(), keys.end());
  for (const char* file : {"lan_en.xml", "lan_cn.xml"}) {
    const std::optional<QStringList> missing = test::KeysWithoutText(
        testing::SkinFolder() + QLatin1Char('/') + QString::fromLatin1(file), all);
    ASSERT_TRUE(missing.has_value()) << file;
    EXPECT_TRUE(missing->isEmpty()) << file << " lacks " << missing->join(' ').toStdString();
  }
  EXPECT_EQ(Control<QPushButton>("device_add_btn")->text(), QStringLiteral("New"));
}

}  // namespace
}  // namespace vorlin
