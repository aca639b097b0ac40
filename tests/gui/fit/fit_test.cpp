// Every window of the program in every language of its list, at 100 % and 150 %: the main window
// with all four kinds of device (every page, tab and panel), the settings window (every page), the
// colour window, the about window, the skin drop-down and the message box with every message.
// No text may be cut off by its control or its container, and no two controls may lie over each
// other. Each window is built once per scale; the languages are switched as the user does, from
// the settings window.

#include <gtest/gtest.h>

#include <map>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTest>

#include "app/settings_window.h"
#include "fit_check.h"
#include "gui/app/main_window_fixture.h"
#include "modal.h"
#include "pages/device_page.h"
#include "shell/app_paths.h"
#include "shell/language_list.h"
#include "shell/message_box.h"
#include "shell/skin_observer.h"
#include "shell/skin_settings.h"
#include "shell/skin_window.h"
#include "ui/find_control.h"
#include "ui/language_file.h"
#include "ui/skin_manager.h"
#include "ui/window_scale.h"

namespace vorlin {
namespace {

// The keys of the texts the program shows in its message box.
QStringList MessageKeys() {
  QFile file(SkinManager::Instance().FindFile(QStringLiteral("lan_en.xml")));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const std::optional<LanguageTexts> texts = ParseLanguageFile(file.readAll());
  QStringList keys;
  if (!texts) return keys;
  for (auto it = texts->texts.cbegin(); it != texts->texts.cend(); ++it) {
    if (it.key().startsWith(QLatin1String("message_text_"))) keys << it.key();
  }
  keys.sort();
  return keys;
}

class FitTest : public test::MainWindowFixture, public ::testing::WithParamInterface<int> {
 protected:
  int ForcedDpi() const override { return GetParam(); }

  void SetUp() override {
    ForgetLanguage();
    MainWindowFixture::SetUp();
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    ForgetLanguage();
  }
  static void ForgetLanguage() {
    std::unique_ptr<QSettings> settings = OpenProgramSettings();
    settings->remove(QLatin1String(kLanguageSettingKey));
    settings->sync();
  }

  // Looks at `window` with every page of its tab layouts shown.
  void Check(QWidget* window, const QString& name) {
    ASSERT_NE(window, nullptr) << name.toStdString();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << name.toStdString();
    test::VisitEveryPage(window, [&] { Collect(window, name); });
  }
  void Collect(QWidget* window, const QString& name) {
    for (const test::FitFault& fault : test::FindFitFaults(window)) {
      const QString where =
          QStringLiteral("%1, %2 %, %3: ").arg(language_).arg(GetParam() * 100 / 96).arg(name);
      faults_.emplace(where + test::Describe(fault), 0);
    }
  }

  // Opens a modal window the way the program does and looks at it.
  void CheckModal(const QString& name, const std::function<void()>& open) {
    EXPECT_TRUE(test::WithModal(open, [&](QDialog* modal) { Check(modal, name); }))
        << name.toStdString() << " did not open";
  }

  QString language_;
  std::map<QString, int> faults_;
};

TEST_P(FitTest, EveryTextFitsItsControlInEveryLanguage) {
  QElapsedTimer clock;
  clock.start();
  const std::vector<std::string> devices = emulator_.DataNames();
  QStringList names;
  for (const std::string& name : devices) names << QString::fromStdString(name);
  ASSERT_TRUE(WaitShown(names, 10000)) << Shown().join(QLatin1Char(' ')).toStdString();

  QWidget* main = window_->Window();
  window_->OnMenuChoice(QStringLiteral("setwnd_menu"));
  CSetWnd* settings = window_->SettingsWindow();
  ASSERT_NE(settings, nullptr);
  QComboBox* languages = settings->LanguageList();
  ASSERT_NE(languages, nullptr);
  const std::vector<LanguageEntry> entries = LoadLanguageList(LanguageConfigPath());
  ASSERT_EQ(languages->count(), static_cast<int>(entries.size()));
  ASSERT_GE(entries.size(), 16u);

  const QStringList message_keys = MessageKeys();
  ASSERT_FALSE(message_keys.isEmpty());
  CSkinWnd skin(&SkinObserver::Instance(), SkinSettingsPath());
  ASSERT_TRUE(skin.Create());
  DevicePage* mouse = PageOf("mouse");
  ASSERT_NE(mouse, nullptr);

  for (size_t index = 0; index < entries.size(); ++index) {
    languages->setCurrentIndex(static_cast<int>(index));  // as the user chooses it
    ASSERT_EQ(languages->currentIndex(), static_cast<int>(index));
    language_ = entries[index].text;

    Check(main, QStringLiteral("main window"));
    Check(settings->Window(), QStringLiteral("settings window"));
    CheckModal(QStringLiteral("colour window"),
               [&] { mouse->ChooseColour(0xFFFF0000u, false, true); });
    CheckModal(QStringLiteral("about window"),
               [&] { window_->OnMenuChoice(QStringLiteral("about_menu")); });
    skin.ShowBelow(FindControl(main, QStringLiteral("skinbtn")));
    Check(skin.Window(), QStringLiteral("skin window"));
    skin.Close();
    for (const QString& key : message_keys) {
      CheckModal(QStringLiteral("message box ") + key, [&] {
        ShowMessageBox(main, QStringLiteral("tips_text"), key, true, WindowDpi(main),
                       kMessageConfirmCancel);
      });
    }
  }

  QString report;
  int shown = 0;
  for (const auto& [fault, unused] : faults_) {
    if (++shown > 300) break;
    report += fault + QLatin1Char('\n');
  }
  EXPECT_TRUE(faults_.empty()) << faults_.size() << " faults:\n" << report.toStdString();
  std::cout << "[ fit      ] " << entries.size() << " languages at " << GetParam() * 100 / 96
            << " % in " << clock.elapsed() << " ms\n";
}

INSTANTIATE_TEST_SUITE_P(Scales, FitTest, ::testing::Values(96, 144),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "At" + std::to_string(info.param * 100 / 96) + "Percent";
                         });

}  // namespace
}  // namespace vorlin
