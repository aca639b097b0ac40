#include "shell/message_box.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "shell_test_support.h"
#include "ui/translator.h"
#include "ui/window_scale.h"

namespace vorlin {
namespace {

class MessageBoxTest : public ::testing::TestWithParam<bool> {
 protected:
  // Parameter: true = the skin's "XML_MSG" layout, false = a skin without it (built-in window).
  void SetUp() override {
    SkinManager::Instance().SetSkinFolder(GetParam() ? testing::ShellTestSkin() : empty_.path());
    if (GetParam()) {
      ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
    }
  }
  QTemporaryDir empty_;
};

TEST_P(MessageBoxTest, ResultFollowsTheButton) {
  struct Case {
    int buttons;
    const char* click;
    int expected;
  };
  const Case cases[] = {
      {kMessageConfirmOnly, "confirm_btn", 1},   {kMessageConfirmOnly, "closebtn", 0},
      {kMessageConfirmCancel, "confirm_btn", 1}, {kMessageConfirmCancel, "cancel_btn", 0},
      {kMessageConfirmCancel, "closebtn", 0},
  };
  for (const Case& c : cases) {
    testing::ClickWhenShown(QString::fromLatin1(c.click));
    EXPECT_EQ(ShowMessageBox(nullptr, QStringLiteral("tips_text"), QStringLiteral("message_text_1"),
                             true, 96, c.buttons),
              c.expected)
        << c.click << " with buttons " << c.buttons;
  }
}

TEST_P(MessageBoxTest, EscapeAndClosingTheWindowDoNotConfirm) {
  testing::WhenModalShown([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
  EXPECT_EQ(ShowMessageBox(nullptr, QStringLiteral("tips_text"), QStringLiteral("message_text_1"),
                           true, 96, kMessageConfirmCancel),
            0);
  testing::WhenModalShown([](QWidget* modal) { modal->close(); });
  EXPECT_EQ(ShowMessageBox(nullptr, QStringLiteral("tips_text"), QStringLiteral("message_text_1")),
            0);
}

TEST_P(MessageBoxTest, CancelIsShownOnlyForAQuestion) {
  for (int buttons : {kMessageConfirmOnly, kMessageConfirmCancel}) {
    CMsgWnd window(nullptr);
    window.SetButtons(buttons);
    auto* cancel = FindControl(window.Window(), QStringLiteral("cancel_btn"));
    auto* confirm = FindControl(window.Window(), QStringLiteral("confirm_btn"));
    ASSERT_NE(cancel, nullptr);
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(cancel->isVisibleTo(window.Window()), buttons == kMessageConfirmCancel);
    EXPECT_TRUE(confirm->isVisibleTo(window.Window()));
  }
}

TEST_P(MessageBoxTest, TitleAndTextComeFromTheLanguage) {
  CMsgWnd window(nullptr);
  window.SetMessage(QStringLiteral("tips_text"), QStringLiteral("message_text_1"), true);
  auto* title = FindControl<QLabel>(window.Window(), QStringLiteral("MessageTitle"));
  auto* text = FindControl<QLabel>(window.Window(), QStringLiteral("MessageText"));
  ASSERT_NE(title, nullptr);
  ASSERT_NE(text, nullptr);
  const Translator& translator = Translator::Instance();
  EXPECT_EQ(title->text(), translator.Text(QStringLiteral("tips_text")));
  EXPECT_EQ(text->text(), translator.Text(QStringLiteral("message_text_1")));

  // A text given as it is stays as it is, also when the language changes.
  window.SetMessage(QString(), QStringLiteral("message_text_1"), false);
  EXPECT_EQ(text->text(), "message_text_1");
  translator.ReloadAllTexts();
  EXPECT_EQ(text->text(), "message_text_1");
  // An empty title leaves the one there.
  EXPECT_EQ(title->text(), translator.Text(QStringLiteral("tips_text")));
}

TEST_P(MessageBoxTest, DpiScalesTheWindow) {
  CMsgWnd window(nullptr);
  window.SetDpi(144);
  EXPECT_EQ(WindowDpi(window.Window()), 144);
  window.SetDpi(100);  // not a supported scale
  EXPECT_EQ(WindowDpi(window.Window()), 96);
}

INSTANTIATE_TEST_SUITE_P(Layouts, MessageBoxTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "SkinLayout" : "BuiltIn";
                         });

TEST(MessageBoxDpi, OnlyTheSupportedScalesPass) {
  for (int dpi : {48, 72, 96, 120, 144, 168, 192}) EXPECT_EQ(MessageBoxDpi(dpi), dpi);
  for (int dpi : {0, -96, 95, 100, 240, 960}) EXPECT_EQ(MessageBoxDpi(dpi), 96) << dpi;
}

TEST(MessageBoxOwner, OpensOverItsOwner) {
  SkinManager::Instance().SetSkinFolder(testing::ShellTestSkin());
  QWidget owner;
  owner.setGeometry(200, 150, 800, 572);
  owner.show();
  QRect seen;
  testing::WhenModalShown([&seen](QWidget* modal) {
    seen = modal->frameGeometry();
    FindControl<QAbstractButton>(modal, QStringLiteral("confirm_btn"))->click();
  });
  EXPECT_EQ(ShowMessageBox(&owner, QStringLiteral("tips_text"), QStringLiteral("message_text_1")),
            1);
  EXPECT_LE((seen.center() - owner.frameGeometry().center()).manhattanLength(), 2)
      << "message at " << seen.x() << "," << seen.y();
}

}  // namespace
}  // namespace vorlin
