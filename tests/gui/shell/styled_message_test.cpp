#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "shell/message_box.h"
#include "shell_test_support.h"
#include "ui/find_control.h"
#include "ui/skin_manager.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

// The shipped skin and English texts: what the user reads.
class StyledMessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinManager::Instance().SetSkinFolder(testing::SourceData(QStringLiteral("skin")));
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
  }
};

struct Seen {
  QString title, text, confirm, cancel;
  bool cancelShown = false;
  bool confirmIsDefault = false;
  int textWidth = 0, textHeight = 0, lineHeight = 0;
};

// Opens the message, notes what it shows, answers it with `key` and returns the answer.
int Open(const char* text_key, bool question, Qt::Key key, Seen* seen,
         const QString& shown = QString()) {
  testing::WhenModalShown([seen, key](QWidget* modal) {
    auto* title = FindControl<QLabel>(modal, QStringLiteral("MessageTitle"));
    auto* text = FindControl<QLabel>(modal, QStringLiteral("MessageText"));
    auto* confirm = FindControl<QPushButton>(modal, QStringLiteral("confirm_btn"));
    auto* cancel = FindControl<QPushButton>(modal, QStringLiteral("cancel_btn"));
    if (title && text && confirm && cancel) {
      seen->title = title->text();
      seen->text = text->text();
      seen->confirm = confirm->text();
      seen->cancel = cancel->text();
      seen->cancelShown = cancel->isVisible();
      seen->confirmIsDefault = confirm->isDefault();
      seen->textWidth = text->width();
      seen->textHeight = text->height();
      seen->lineHeight = text->fontMetrics().lineSpacing();
    }
    QTest::keyClick(modal, key);
  });
  return ShowStyledMessage(nullptr, QString::fromLatin1(text_key), question, 96, shown);
}

TEST_F(StyledMessageTest, TitledByKindWithVerbsOnTheButtons) {
  struct Case {
    const char* textKey;
    bool question;
    const char* title;
    const char* confirm;
    const char* cancel;  // nullptr: a notice without one
    bool destructive;
  };
  const Case cases[] = {
      {"message_text_4", true, "Confirm", "Delete", "Cancel", true},
      {"message_text_29", true, "Confirm", "Delete", "Cancel", true},
      {"message_text_22", true, "Confirm", "Reset", "Cancel", true},
      {"message_text_27", true, "Confirm", "Create", "Cancel", false},
      {"message_text_26", true, "Confirm", "Copy", "Cancel", false},
      {"message_text_24", true, "Confirm", "Update", "Quit", false},
      {"message_text_5", false, "Warning", "OK", nullptr, false},
      {"message_text_7", false, "Error", "OK", nullptr, false},
      {"macro_save_failed_text", false, "Error", "OK", nullptr, false},
      {"profile_export_failed_text", false, "Error", "OK", nullptr, false},
      {"message_text_31", false, "Information", "OK", nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.textKey);
    Seen seen;
    // Enter answers with the default button: never the destructive one.
    const int answer = Open(c.textKey, c.question, Qt::Key_Return, &seen);
    EXPECT_EQ(seen.title, QString::fromLatin1(c.title));
    EXPECT_NE(seen.title, QStringLiteral("Tips"));
    EXPECT_EQ(seen.confirm, QString::fromLatin1(c.confirm));
    EXPECT_EQ(seen.cancelShown, c.cancel != nullptr);
    if (c.cancel) EXPECT_EQ(seen.cancel, QString::fromLatin1(c.cancel));
    EXPECT_EQ(seen.confirmIsDefault, !c.destructive);
    EXPECT_EQ(answer, c.destructive ? 0 : 1);
  }
}

TEST_F(StyledMessageTest, EscapeCancelsADeleteAndTheObjectIsNamed) {
  Seen seen;
  const QString shown =
      MessageTextAbout(QStringLiteral("message_text_4"), QStringLiteral("Reload"));
  EXPECT_EQ(Open("message_text_4", true, Qt::Key_Escape, &seen, shown), 0);
  EXPECT_EQ(seen.text, QStringLiteral("Delete the macro \u201cReload\u201d?"));
  // A text without a blank for a name stays the key's own.
  EXPECT_TRUE(MessageTextAbout(QStringLiteral("message_text_27"), QStringLiteral("x")).isEmpty());
}

TEST_F(StyledMessageTest, AShortSentenceIsNotWrapped) {
  Seen seen;
  Open("message_text_27", true, Qt::Key_Escape, &seen);
  ASSERT_EQ(seen.text, QStringLiteral("Create a new profile?"));
  EXPECT_LT(seen.textHeight, 2 * seen.lineHeight) << "wrapped into " << seen.textWidth << " px";

  // A long one wraps at a reading width instead of stretching the window across the screen.
  Open("message_text_2", true, Qt::Key_Escape, &seen);
  EXPECT_LE(seen.textWidth, 500);
  EXPECT_GE(seen.textHeight, 2 * seen.lineHeight);
}

}  // namespace
}  // namespace vorlin
