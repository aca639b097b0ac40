// The shoot panel in a window: start-up seeding, picking guns and bullets, editing a bullet,
// reset, import, export, sending to the mouse, and its layout.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QStackedWidget>

#include "profiles/json_file_io.h"
#include "shoot/shoot_pattern_view.h"
#include "shoot_test_support.h"
#include "support/layout_text_keys.h"

namespace vorlin::testing {
namespace {

QString GunOption(int n) {
  return QStringLiteral("shoot_gun_op_") + QString::number(n);
}
QString BulletOption(int n) {
  return QStringLiteral("bullet_op_") + QString::number(n);
}

class ShootPanelStartTest : public ShootPanelTest {
 protected:
  // The options of a list that are selected.
  QList<int> SelectedOptions(QString (*name)(int), int count) const {
    QList<int> selected;
    for (int n = 0; n < count; ++n) {
      if (QAbstractButton* option = Button(name(n)); option && option->isChecked()) selected << n;
    }
    return selected;
  }
  QString IndexText() const { return Control<QLabel>("bullet_select_index")->text(); }
  bool EditorOn() const { return Control("bullet_edit_layout")->isEnabled(); }
  ShootPatternView* Pattern(int gun) const {
    return Control<ShootPatternView>(
        QStringLiteral("shoot_pattern_view_%1").arg(gun).toLatin1().constData());
  }
};

TEST_F(ShootPanelStartTest, FirstStartSeedsEveryGunAndShowsBulletOne) {
  panel_->InitGuns();
  for (int gun = 0; gun < kGunCount; ++gun) EXPECT_EQ(GunBytes(gun), FactoryBytes(gun)) << gun;
  EXPECT_EQ(panel_->GunIndex(), 0);
  EXPECT_EQ(panel_->BulletIndex(), 0);
  EXPECT_EQ(SelectedOptions(GunOption, kGunCount), QList<int>{0});
  EXPECT_EQ(SelectedOptions(BulletOption, kBulletCount), QList<int>{0});
  EXPECT_EQ(IndexText(), QStringLiteral("1"));
  EXPECT_TRUE(EditorOn());
  const Json::Value factory = ReadGunFile(GunFilePath(FactoryFolder(), 0));
  EXPECT_EQ(Shown(), ReadBullet(factory, 0));
  EXPECT_EQ(Pattern(0)->Bullets(), ReadBullets(factory));
  EXPECT_EQ(Pattern(0)->SelectedBullet(), 0);
  EXPECT_TRUE(host_.notices.isEmpty());
}

TEST_F(ShootPanelStartTest, LaterStartsKeepTheFilesAndSelectNoBullet) {
  SeedAll();
  // The user's own gun 1 and a damaged gun 2.
  const std::string mine = "{\"Events\": [], \"Name\": \"mine\"}";
  WriteBytes(GunFilePath(data_, 1), mine);
  WriteBytes(GunFilePath(data_, 2), "{ damaged");
  panel_->InitGuns();
  EXPECT_EQ(GunBytes(0), FactoryBytes(0));
  EXPECT_EQ(GunBytes(1), mine);
  EXPECT_EQ(GunBytes(2), FactoryBytes(2));
  bool kept = false;
  for (const auto& entry : std::filesystem::directory_iterator(data_))
    kept |= entry.path().filename().string().rfind("ShootData_2.Shoot.unreadable-", 0) == 0;
  EXPECT_TRUE(kept);
  // A gun was seeded, so the current bullet is shown.
  EXPECT_EQ(panel_->BulletIndex(), 0);
}

TEST_F(ShootPanelStartTest, WithoutASelectedBulletNothingIsReadOrWritten) {
  SeedAll();
  panel_->InitGuns();
  ASSERT_EQ(panel_->BulletIndex(), -1);
  EXPECT_FALSE(EditorOn());
  EXPECT_EQ(IndexText(), QString());
  EXPECT_EQ(Edit("bullet_x_eidt")->text(), QString());
  EXPECT_TRUE(SelectedOptions(BulletOption, kBulletCount).isEmpty());
  EXPECT_EQ(Pattern(0)->SelectedBullet(), -1);
  EXPECT_EQ(Pattern(0)->Bullets().size(), 30u);

  // Edits losing focus, a gun change, and saving directly: the files stay as they are.
  Edit("bullet_x_eidt")->setText(QStringLiteral("99"));
  Raise("bullet_x_eidt", "killfocus");
  EXPECT_FALSE(panel_->SaveBullet(0, -1));
  Button(GunOption(2))->click();
  EXPECT_EQ(panel_->GunIndex(), 2);
  EXPECT_EQ(panel_->BulletIndex(), -1);
  EXPECT_FALSE(EditorOn());
  Raise("bullet_y_eidt", "killfocus");
  for (int gun = 0; gun < kGunCount; ++gun) EXPECT_EQ(GunBytes(gun), FactoryBytes(gun)) << gun;
  EXPECT_TRUE(host_.notices.isEmpty());
}

TEST_F(ShootPanelStartTest, ArrowsFromNoBulletSelectTheFirst) {
  for (const char* arrow : {"bullet_selected_prev", "bullet_selected_next"}) {
    SCOPED_TRACE(arrow);
    SeedAll();
    // A fresh panel for each arrow: the state before any bullet was selected.
    NewPanel();
    panel_->InitGuns();
    ASSERT_EQ(panel_->BulletIndex(), -1);
    Click(arrow);
    EXPECT_EQ(panel_->BulletIndex(), 0);
    EXPECT_EQ(IndexText(), QStringLiteral("1"));
    EXPECT_TRUE(EditorOn());
    std::filesystem::remove_all(data_);
  }
}

TEST_F(ShootPanelStartTest, ArrowsStopAtTheEnds) {
  panel_->InitGuns();
  const struct {
    int from;
    const char* arrow;
    int to;
  } cases[] = {
      {0, "bullet_selected_prev", 0},   {0, "bullet_selected_next", 1},
      {29, "bullet_selected_next", 29}, {29, "bullet_selected_prev", 28},
      {15, "bullet_selected_prev", 14},
  };
  for (const auto& c : cases) {
    panel_->SelectBullet(c.from);
    Click(c.arrow);
    EXPECT_EQ(panel_->BulletIndex(), c.to) << c.from << " " << c.arrow;
    EXPECT_EQ(SelectedOptions(BulletOption, kBulletCount), QList<int>{c.to});
    EXPECT_EQ(IndexText(), QString::number(c.to + 1));
  }
}

TEST_F(ShootPanelStartTest, SelectionsAreKeptInRange) {
  panel_->InitGuns();
  const struct {
    int gun, gun_shown;
  } guns[] = {{5, 3}, {-1, 0}, {2, 2}, {4, 3}};
  for (const auto& c : guns) {
    panel_->SelectGun(c.gun);
    EXPECT_EQ(panel_->GunIndex(), c.gun_shown) << c.gun;
    EXPECT_EQ(SelectedOptions(GunOption, kGunCount), QList<int>{c.gun_shown});
    EXPECT_EQ(Control<QStackedWidget>("shoot_image_display_switch")->currentIndex(), c.gun_shown);
  }
  const struct {
    int bullet, bullet_shown;
  } bullets[] = {{-2, 0}, {-1, 0}, {30, 29}, {12, 12}};
  for (const auto& c : bullets) {
    panel_->SelectBullet(c.bullet);
    EXPECT_EQ(panel_->BulletIndex(), c.bullet_shown) << c.bullet;
    EXPECT_EQ(SelectedOptions(BulletOption, kBulletCount), QList<int>{c.bullet_shown});
  }
}

TEST_F(ShootPanelStartTest, ChoosingOptionsLoadsThatGunsBullet) {
  panel_->InitGuns();
  Button(BulletOption(7))->click();
  EXPECT_EQ(panel_->BulletIndex(), 7);
  Button(GunOption(3))->click();
  EXPECT_EQ(panel_->GunIndex(), 3);
  EXPECT_EQ(SelectedOptions(GunOption, kGunCount), QList<int>{3});
  EXPECT_EQ(Shown(), ReadBullet(ReadGunFile(GunFilePath(FactoryFolder(), 3)), 7));
  EXPECT_EQ(Pattern(3)->SelectedBullet(), 7);
  // An option that lost its selection reports it too, and must not take the panel back.
  for (int other : {0, 1}) {
    SendNotification(Button(GunOption(other)), QStringLiteral("selectchanged"));
    SendNotification(Button(BulletOption(other)), QStringLiteral("selectchanged"));
  }
  EXPECT_EQ(panel_->GunIndex(), 3);
  EXPECT_EQ(panel_->BulletIndex(), 7);
  EXPECT_EQ(SelectedOptions(GunOption, kGunCount), QList<int>{3});
}

TEST_F(ShootPanelStartTest, EditedBulletIsWrittenAsItsSixEvents) {
  SeedAll();
  Json::Value gun = ReadGunFile(GunFilePath(data_, 0));
  gun["Name"] = "kept";
  ASSERT_TRUE(WriteGunFile(GunFilePath(data_, 0), gun));
  panel_->InitGuns();
  panel_->SelectBullet(2);
  EnterBullet({true, 3, false, 7, 90});

  const Json::Value written = ReadGunFile(GunFilePath(data_, 0));
  EXPECT_EQ(written["Name"], "kept");
  ASSERT_EQ(written["Events"].size(), 180u);
  const Json::Value expected = JsonFileIo::ParseJsonText(R"([
      {"Action": "down", "Button": 1, "Delay": 10, "Type": 1},
      {"Action": "up", "Button": 1, "Delay": 0, "Type": 1},
      {"Action": "down", "Button": 3, "Delay": 5, "Type": 4},
      {"Action": "up", "Button": 7, "Delay": 90, "Type": 5},
      {"Action": "down", "Button": 0, "Delay": 0, "Type": 4},
      {"Action": "up", "Button": 0, "Delay": 0, "Type": 5}])");
  for (Json::ArrayIndex i = 0; i < 6; ++i) EXPECT_EQ(written["Events"][12 + i], expected[i]) << i;
  for (Json::ArrayIndex i = 0; i < 180; ++i) {
    if (i < 12 || i >= 18) {
      EXPECT_EQ(written["Events"][i], gun["Events"][i]) << i;
    }
  }
  EXPECT_EQ(Pattern(0)->Bullets()[2], (Bullet{true, 3, false, 7, 90}));
  // Every edit stores; the other guns are untouched.
  for (int other = 1; other < kGunCount; ++other) EXPECT_EQ(GunBytes(other), FactoryBytes(other));
}

TEST_F(ShootPanelStartTest, ValuesBeyondTheMouseAreStoredAtItsLimit) {
  panel_->InitGuns();
  panel_->SelectBullet(0);
  const struct {
    const char* x;
    const char* delay;
    int x_stored, delay_stored;
  } cases[] = {
      {"300", "90", 255, 90},
      {"12abc", "70000", 12, 65535},
      {"", "x", 0, 0},
      {"255", "65535", 255, 65535},
  };
  for (const auto& c : cases) {
    Edit("bullet_x_eidt")->setText(QString::fromLatin1(c.x));
    Edit("bullet_delay_eidt")->setText(QString::fromLatin1(c.delay));
    Raise("bullet_x_eidt", "killfocus");
    const Bullet stored = ReadBullet(ReadGunFile(GunFilePath(data_, 0)), 0);
    EXPECT_EQ(stored.x_distance, c.x_stored) << c.x;
    EXPECT_EQ(stored.delay, c.delay_stored) << c.delay;
    // The edits show what was stored.
    EXPECT_EQ(Edit("bullet_x_eidt")->text(), QString::number(c.x_stored)) << c.x;
    EXPECT_EQ(Edit("bullet_delay_eidt")->text(), QString::number(c.delay_stored)) << c.delay;
  }
}

TEST_F(ShootPanelStartTest, DirectionToggleChangesOnlyItsTextUntilAnEditLosesFocus) {
  panel_->InitGuns();
  panel_->SelectBullet(4);
  ASSERT_FALSE(Button("bullet_x_check")->isChecked());
  EXPECT_EQ(Button("bullet_x_check")->property("textKey").toString(),
            QStringLiteral("mouse_move_to_right_text"));
  const std::string before = GunBytes(0);

  Click("bullet_x_check");
  Click("bullet_y_check");
  EXPECT_EQ(Button("bullet_x_check")->property("textKey").toString(),
            QStringLiteral("mouse_move_to_left_text"));
  EXPECT_EQ(Button("bullet_y_check")->property("textKey").toString(),
            QStringLiteral("mouse_move_to_up_text"));
  EXPECT_EQ(Button("bullet_x_check")->text(), Translator::Instance().Text("mouse_move_to_left_text"));
  EXPECT_EQ(GunBytes(0), before);

  Raise("bullet_y_eidt", "killfocus");
  const Bullet stored = ReadBullet(ReadGunFile(GunFilePath(data_, 0)), 4);
  EXPECT_TRUE(stored.x_left);
  EXPECT_TRUE(stored.y_up);
  // Loading another bullet shows its own directions again.
  panel_->SelectBullet(5);
  EXPECT_FALSE(Button("bullet_x_check")->isChecked());
  EXPECT_EQ(Button("bullet_x_check")->property("textKey").toString(),
            QStringLiteral("mouse_move_to_right_text"));
}

TEST_F(ShootPanelStartTest, FocusLeavingWithoutChangesWritesNothing) {
  SeedAll();
  const auto stamp = [this] { return std::filesystem::last_write_time(GunFilePath(data_, 0)); };
  panel_->InitGuns();
  panel_->SelectBullet(1);
  // The factory file's text is not in the program's styled form: a write would change it.
  const std::string before = GunBytes(0);
  const auto time_before = stamp();
  Raise("bullet_x_eidt", "killfocus");
  EXPECT_EQ(GunBytes(0), before);
  EXPECT_EQ(stamp(), time_before);
}

TEST_F(ShootPanelStartTest, ShortGunFileShowsZerosAndGrowsWhenEdited) {
  SeedAll();
  WriteBytes(GunFilePath(data_, 1), R"({"Events": [1, "x"], "Name": "short"})");
  panel_->InitGuns();
  panel_->SelectGun(1);
  panel_->SelectBullet(3);
  EXPECT_EQ(Shown(), Bullet{});
  EXPECT_TRUE(Pattern(1)->Bullets().size() == 1u);
  EnterBullet({false, 2, true, 5, 40});
  const Json::Value gun = ReadGunFile(GunFilePath(data_, 1));
  EXPECT_EQ(gun["Name"], "short");
  EXPECT_EQ(gun["Events"].size(), 24u);
  EXPECT_EQ(gun["Events"][1], "x");
  EXPECT_EQ(ReadBullet(gun, 3), (Bullet{false, 2, true, 5, 40}));
  EXPECT_EQ(ReadBullet(gun, 2), Bullet{});
}

TEST_F(ShootPanelStartTest, UnwritableGunFileIsReported) {
  panel_->InitGuns();
  panel_->SelectBullet(0);
  // The gun file has become a folder: it cannot be replaced.
  std::filesystem::remove(GunFilePath(data_, 0));
  std::filesystem::create_directories(GunFilePath(data_, 0));
  Edit("bullet_x_eidt")->setText(QStringLiteral("8"));
  Raise("bullet_x_eidt", "killfocus");
  EXPECT_EQ(host_.notices, QStringList{QStringLiteral("shoot_save_failed_text")});
  EXPECT_TRUE(std::filesystem::is_directory(GunFilePath(data_, 0)));
}

TEST_F(ShootPanelStartTest, ResetRestoresTheFactoryGunAndShowsTheCurrentBullet) {
  panel_->InitGuns();
  panel_->SelectGun(1);
  panel_->SelectBullet(6);
  EnterBullet({true, 9, true, 9, 9});
  ASSERT_NE(GunBytes(1), FactoryBytes(1));
  Click("shootdate_reset_btn");
  EXPECT_EQ(GunBytes(1), FactoryBytes(1));
  EXPECT_EQ(panel_->BulletIndex(), 6);
  EXPECT_EQ(Shown(), ReadBullet(ReadGunFile(GunFilePath(FactoryFolder(), 1)), 6));
  EXPECT_TRUE(host_.notices.isEmpty());

  // Without its factory file the gun stays as the user left it.
  EnterBullet({true, 9, true, 9, 9});
  const std::string edited = GunBytes(1);
  panel_->SetDefaultFolder((data_ / "nowhere").string());
  EXPECT_FALSE(panel_->ResetGun(1));
  EXPECT_EQ(GunBytes(1), edited);
  EXPECT_EQ(host_.notices, QStringList{QStringLiteral("shoot_reset_failed_text")});
  EXPECT_FALSE(panel_->ResetGun(4));
  EXPECT_FALSE(panel_->ResetGun(-1));
}

TEST_F(ShootPanelStartTest, ImportTakesOnlyReadableDocuments) {
  panel_->InitGuns();
  const std::filesystem::path source = data_.parent_path() / "picked.shoot";
  const struct {
    const char* name;
    const char* text;  // nullptr: no such file
    bool imported;
  } cases[] = {
      {"missing", nullptr, false},
      {"empty", "", false},
      {"not JSON", "MZ\x01\x02 binary", false},
      {"a profile document", R"({"Device": [{"KeyList": []}]})", true},
      {"events that are not objects", R"({"Events": [1, 2, 3, 4, 5, 6, 7]})", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    panel_->ResetGun(0);
    panel_->SelectBullet(1);
    host_.notices.clear();
    std::filesystem::remove(source);
    if (c.text) WriteBytes(source, c.text);
    host_.open_answer = QString::fromStdString(source.string());
    Click("shootdate_import_btn");
    EXPECT_EQ(host_.dialogs.last(), QStringLiteral("open:Shoot Files(*.shoot)"));
    if (c.imported) {
      EXPECT_EQ(GunBytes(0), c.text);
      EXPECT_TRUE(host_.notices.isEmpty());
      // Not a gun: empty bullets.
      EXPECT_EQ(Shown(), Bullet{});
      EXPECT_TRUE(EditorOn());
    } else {
      EXPECT_EQ(GunBytes(0), FactoryBytes(0));
      EXPECT_EQ(host_.notices, QStringList{QStringLiteral("shoot_import_failed_text")});
      EXPECT_EQ(Shown(), ReadBullet(ReadGunFile(GunFilePath(FactoryFolder(), 0)), 1));
    }
  }
}

TEST_F(ShootPanelStartTest, ExportedGunImportsBackUnchanged) {
  panel_->InitGuns();
  panel_->SelectGun(2);
  panel_->SelectBullet(10);
  EnterBullet({true, 21, false, 3, 77});
  const std::string exported_gun = GunBytes(2);
  const std::filesystem::path file = data_.parent_path() / "gun.shoot";
  host_.save_answer = QString::fromStdString(file.string());
  Click("shootdate_export_btn");
  EXPECT_EQ(host_.dialogs.last(), QStringLiteral("save:Shoot Files(*.shoot)"));
  EXPECT_EQ(ReadBytes(file), exported_gun);

  // Exporting again replaces the file.
  EnterBullet({false, 1, false, 1, 1});
  Click("shootdate_export_btn");
  EXPECT_EQ(ReadBytes(file), GunBytes(2));
  WriteBytes(file, exported_gun);

  // Into another gun.
  panel_->SelectGun(0);
  host_.open_answer = QString::fromStdString(file.string());
  Click("shootdate_import_btn");
  EXPECT_EQ(GunBytes(0), exported_gun);
  EXPECT_EQ(Shown(), (Bullet{true, 21, false, 3, 77}));
  EXPECT_TRUE(host_.notices.isEmpty());
}

TEST_F(ShootPanelStartTest, CancelledDialogsChangeNothing) {
  panel_->InitGuns();
  const std::string before = GunBytes(0);
  host_.open_answer.clear();
  host_.save_answer.clear();
  Click("shootdate_import_btn");
  Click("shootdate_export_btn");
  EXPECT_EQ(host_.dialogs.size(), 2);
  EXPECT_EQ(GunBytes(0), before);
  EXPECT_TRUE(host_.notices.isEmpty());
}

TEST_F(ShootPanelStartTest, ExportFailuresAreReported) {
  panel_->InitGuns();
  host_.save_answer = QString::fromStdString((data_ / "no" / "folder" / "x.shoot").string());
  Click("shootdate_export_btn");
  EXPECT_EQ(host_.notices, QStringList{QStringLiteral("shoot_export_failed_text")});
  // A gun file gone since the start cannot be exported either, and no empty file is made.
  host_.notices.clear();
  std::filesystem::remove(GunFilePath(data_, 0));
  const std::filesystem::path file = data_.parent_path() / "out.shoot";
  EXPECT_FALSE(panel_->ExportGun(file));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(host_.notices, QStringList{QStringLiteral("shoot_export_failed_text")});
}

TEST_F(ShootPanelStartTest, ApplySendsTheGunsThroughTheHost) {
  panel_->InitGuns();
  Click("shootdate_save_btn");
  EXPECT_EQ(host_.downloads, 1);
  EXPECT_TRUE(host_.notices.isEmpty());
  // A mouse that did not take them (not connected, a failed report): the user is told.
  host_.download_result = 0;
  Click("shootdate_save_btn");
  EXPECT_EQ(host_.downloads, 2);
  EXPECT_EQ(host_.notices, QStringList{QStringLiteral("shoot_send_failed_text")});
}

TEST_F(ShootPanelStartTest, OnlyItsOwnControlsAreHandled) {
  panel_->InitGuns();
  auto* stranger = new QPushButton(window_.get());
  stranger->setObjectName(QStringLiteral("shootdate_save_btn"));
  EXPECT_FALSE(panel_->HandleNotification({QStringLiteral("click"), stranger}));
  EXPECT_FALSE(panel_->HandleNotification({QStringLiteral("click"), nullptr}));
  EXPECT_EQ(host_.downloads, 0);
  // Its own controls, but notifications they do not act on.
  EXPECT_FALSE(panel_->HandleNotification({QStringLiteral("msenter"), Button("shootdate_save_btn")}));
  EXPECT_FALSE(panel_->HandleNotification({QStringLiteral("click"), Control("bullet_select_index")}));
  EXPECT_TRUE(panel_->HandleNotification({QStringLiteral("CLICK"), Button("shootdate_save_btn")}));
  EXPECT_EQ(host_.downloads, 1);
}

// The window offers every notification to every panel: one of another control leaves a panel
// that has not built its tree yet as it is (nothing built, nothing bound, nothing logged).
TEST_F(ShootPanelStartTest, AnotherControlsNotificationBuildsNothing) {
  auto* stranger = new QPushButton(window_.get());
  stranger->setObjectName(QStringLiteral("shootdate_save_btn"));
  EXPECT_FALSE(panel_->HandleNotification({QStringLiteral("click"), stranger}));
  EXPECT_TRUE(panel_->findChildren<QWidget*>().isEmpty());
  // Built on its first use, it answers for its own controls.
  panel_->InitGuns();
  EXPECT_TRUE(panel_->HandleNotification({QStringLiteral("click"), Button("shootdate_save_btn")}));
  EXPECT_EQ(host_.downloads, 1);
}

TEST_F(ShootPanelStartTest, LayoutHasEveryControlByName) {
  QStringList names = {"shoot_image_display_switch", "bullet_edit_layout", "bullet_select_index",
                       "bullet_selected_prev", "bullet_selected_next", "bullet_x_check",
                       "bullet_y_check", "bullet_x_eidt", "bullet_y_eidt", "bullet_delay_eidt",
                       "shootdate_save_btn", "shootdate_reset_btn", "shootdate_import_btn",
                       "shootdate_export_btn"};
  for (int n = 0; n < kGunCount; ++n) names << GunOption(n);
  for (int n = 0; n < kBulletCount; ++n) names << BulletOption(n);
  for (const QString& name : names) EXPECT_NE(panel_->Control(name), nullptr) << name.toStdString();
  EXPECT_EQ(Control<QStackedWidget>("shoot_image_display_switch")->count(), kGunCount);
  for (int n = 0; n < kGunCount; ++n) EXPECT_NE(Pattern(n), nullptr) << n;
  EXPECT_TRUE(panel_->findChild<QWidget*>(QStringLiteral("shoot_control_panel"))
                  ->property("panel").toBool());
}

TEST(ShootLayoutTest, EveryTextKeyIsInBothLanguages) {
  const std::optional<QSet<QString>> keys = test::LayoutTextKeys(
      SkinFolder() + QStringLiteral("/XML/CustomControlXML/ShootControl.xml"));
  ASSERT_TRUE(keys.has_value());
  QSet<QString> all = *keys;
  // The texts the panel sets itself.
  for (const char* key :
       {"mouse_move_to_left_text", "mouse_move_to_right_text", "mouse_move_to_up_text",
        "mouse_move_to_down_text", CShootControlUI::kImportFailedText,
        CShootControlUI::kExportFailedText, CShootControlUI::kResetFailedText,
        CShootControlUI::kSaveFailedText, CShootControlUI::kSendFailedText})
    all << QString::fromLatin1(key);
  EXPECT_GT(keys->size(), 20);
  for (const char* language : {"lan_en.xml", "lan_cn.xml"}) {
    const std::optional<QStringList> missing =
        test::KeysWithoutText(SkinFolder() + QStringLiteral("/") + QLatin1String(language), all);
    ASSERT_TRUE(missing.has_value()) << language;
    EXPECT_EQ(*missing, QStringList()) << language;
  }
}

}  // namespace
}  // namespace vorlin::testing
