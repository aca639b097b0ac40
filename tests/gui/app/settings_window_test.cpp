// The settings and skin windows opened from the main window with the shipped skin: choosing a
// language switches the main window's texts and is remembered; the skin drop-down stores the
// picture chosen from its list and a reset.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QSet>
#include <QSettings>
#include <QTest>

#include "app/main_window.h"
#include "app/settings_window.h"
#include "hid/hid_backend.h"
#include "main_window_fixture.h"
#include "shell/app_paths.h"
#include "shell/language_list.h"
#include "shell/skin_settings.h"
#include "shell/skin_window.h"
#include "sim/device_emulator.h"
#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/skin_manager.h"

namespace vorlin {
namespace {

class SecondaryWindowsTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    ForgetLanguage();
    QFile::remove(SkinSettingsPath());
    MainWindowFixture::SetUp();
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    ForgetLanguage();  // the other tests start in the default language
  }
  static void ForgetLanguage() {
    std::unique_ptr<QSettings> settings = OpenProgramSettings();
    settings->remove(QLatin1String(kLanguageSettingKey));
    settings->sync();
  }
  QString MainText(const char* label) const {
    const auto* control = FindControl<QLabel>(window_->Window(), QString::fromLatin1(label));
    return control ? control->text() : QStringLiteral("<no control>");
  }
  static QWidget* SkinFrame() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() == u"skinframe" && top->isVisible()) return top;
    }
    return nullptr;
  }
  static void Click(QWidget* control) {
    ASSERT_NE(control, nullptr);
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
  }
};

TEST_F(SecondaryWindowsTest, ChoosingEnglishSwitchesTheTextsAndIsRemembered) {
  EXPECT_EQ(MainText("emulated_label"), QString::fromUtf8("模拟设备"));
  EXPECT_EQ(window_->Window()->windowTitle(), QString::fromUtf8("Vorlin鼠标"));
  window_->OnMenuChoice(QStringLiteral("setwnd_menu"));
  CSetWnd* settings = window_->SettingsWindow();
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(settings->Window()->windowTitle(), QString::fromUtf8("设置"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(settings->Window()));
  QComboBox* list = settings->LanguageList();
  ASSERT_NE(list, nullptr);
  const std::vector<LanguageEntry> entries = LoadLanguageList(LanguageConfigPath());
  ASSERT_EQ(list->count(), static_cast<int>(entries.size()));
  EXPECT_EQ(list->currentIndex(), 0);  // the language in use, selected quietly
  int english = -1;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].file == u"lan_en.xml") english = static_cast<int>(i);
  }
  ASSERT_GT(english, 0);
  EXPECT_EQ(list->itemText(english), entries[english].text);

  list->setCurrentIndex(english);  // as the user's choice
  EXPECT_EQ(MainText("emulated_label"), QStringLiteral("Emulated devices"));
  // The titles the window manager shows follow the language too.
  EXPECT_EQ(window_->Window()->windowTitle(), QStringLiteral("Vorlin"));
  EXPECT_EQ(settings->Window()->windowTitle(), QStringLiteral("Settings"));
  EXPECT_EQ(ReadStoredLanguageId(*OpenProgramSettings()), entries[english].id);

  // Opened again (from the title bar this time), it shows the language now in use.
  Click(FindControl(window_->Window(), QStringLiteral("setbtn")));
  EXPECT_EQ(list->currentIndex(), english);
  // Hiding the main window closes its secondary windows.
  window_->ToggleWindow();
  EXPECT_FALSE(settings->Window()->isVisible());
}

TEST_F(SecondaryWindowsTest, SkinWindowStoresAListPictureAndAReset) {
  Click(FindControl(window_->Window(), QStringLiteral("skinbtn")));
  QWidget* frame = SkinFrame();
  ASSERT_NE(frame, nullptr) << "the skin window did not open";
  // Every picture of the list is in the skin, and every colour button has a colour of its own.
  const QList<QAbstractButton*> buttons = frame->findChildren<QAbstractButton*>();
  QStringList pictures;
  QList<uint32_t> colours;
  for (QAbstractButton* button : buttons) {
    if (button->objectName() == u"skin_image_btn") pictures << UserData(button);
    uint32_t colour = 0;
    if (button->objectName() == u"skin_color_btn" &&
        ParseSkinColor(button->property("bkcolor").toString(), &colour)) {
      colours << colour;
    }
  }
  ASSERT_GE(pictures.size(), 3);
  EXPECT_TRUE(pictures.contains(QLatin1String(kDefaultSkinImage)));
  for (const QString& picture : pictures) {
    EXPECT_FALSE(SkinManager::Instance().FindFile(picture).isEmpty()) << picture.toStdString();
  }
  EXPECT_GE(colours.size(), 4);
  EXPECT_EQ(QSet<uint32_t>(colours.begin(), colours.end()).size(), colours.size());

  QAbstractButton* second = nullptr;
  for (QAbstractButton* button : buttons) {
    if (button->objectName() == u"skin_image_btn" && UserData(button) != kDefaultSkinImage) {
      second = button;
      break;
    }
  }
  ASSERT_NE(second, nullptr);
  Click(second);
  EXPECT_EQ(ReadSkinImageSetting(SkinSettingsPath()), (SkinImageSetting{true, UserData(second)}));

  Click(FindControl(frame, QStringLiteral("skin_reset")));
  QSettings ini(SkinSettingsPath(), QSettings::IniFormat);
  EXPECT_EQ(ini.value(QStringLiteral("SKINIMAGE/FLAGS")).toString(), QStringLiteral("0"));
  EXPECT_EQ(ini.value(QStringLiteral("SKINIMAGE/IMAGE")).toString(),
            QLatin1String(kDefaultSkinImage));
}

}  // namespace
}  // namespace vorlin
