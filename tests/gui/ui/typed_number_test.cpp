// What becomes of numbers typed into fields: the pure verdicts, and number edits that say what
// they made of their text before the window reads it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include "ui/field_notice.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"
#include "ui/typed_number.h"
#include "ui_test_support.h"

namespace vorlin {
namespace {

TEST(TypedNumberTest, VerdictsForEveryKindOfText) {
  struct Case {
    const char* text;
    NumberRule rule;
    TypedVerdict verdict;
    int value;
  };
  const NumberRule byte{0, 255, 1, true};
  const NumberRule delay{0, 65535, 1, true};
  const NumberRule dpi{100, 26000, 50, false};
  const NumberRule odd_top{0, 1010, 25, true};
  const Case cases[] = {
      {"17", byte, TypedVerdict::kTaken, 17},
      {" +255 ", byte, TypedVerdict::kTaken, 255},
      {"256", byte, TypedVerdict::kLimited, 255},
      {"-3", byte, TypedVerdict::kLimited, 0},
      {"99999999999999999999999", delay, TypedVerdict::kLimited, 65535},
      {"", byte, TypedVerdict::kNotANumber, 0},
      {"abc", byte, TypedVerdict::kNotANumber, 0},
      {"1 2", byte, TypedVerdict::kNotANumber, 0},
      {"0x10", byte, TypedVerdict::kNotANumber, 0},
      {"+", byte, TypedVerdict::kNotANumber, 0},
      {"3.5", byte, TypedVerdict::kNotANumber, 0},
      {"1600", dpi, TypedVerdict::kTaken, 1600},
      {"1624", dpi, TypedVerdict::kRounded, 1600},
      {"1625", dpi, TypedVerdict::kRounded, 1650},
      {"26001", dpi, TypedVerdict::kOutOfRange, 0},
      {"50", dpi, TypedVerdict::kOutOfRange, 0},
      // Rounding never leaves the range, even when its top is off the steps.
      {"1009", odd_top, TypedVerdict::kRounded, 1000},
  };
  for (const Case& c : cases) {
    const TypedNumber typed = CheckTypedNumber(c.text, c.rule);
    EXPECT_EQ(typed.verdict, c.verdict) << '"' << c.text << '"';
    EXPECT_EQ(typed.value, c.value) << '"' << c.text << '"';
  }
}

// Notes the edit's text at the moment each notification arrives: what the window reads.
class TextAtNotification : public NotifyHandler {
 public:
  void Notify(const Notification& n) override {
    if (auto* edit = qobject_cast<QLineEdit*>(n.sender)) seen << n.type + ':' + edit->text();
  }
  QStringList seen;
};

class NumberFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::UseProgramSkin();
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
    window_ = LoadWindow(testing::TestLayout("controls.ui"));
    ASSERT_NE(window_, nullptr);
    NotifyBridge::Install(window_.get(), &handler_);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    // 200 to 6500, four characters at most.
    edit_ = FindControl<QLineEdit>(window_.get(), QStringLiteral("DPI_edit_1"));
    other_ = FindControl<QAbstractButton>(window_.get(), QStringLiteral("plain_btn"));
    ASSERT_TRUE(edit_ && other_);
    edit_->setText(QStringLiteral("1000"));
  }
  void TearDown() override { Translator::Instance().SetLanguage({}); }

  // The user clicks into the edit, replaces its text with `typed` and leaves it (or presses
  // Enter).
  void Type(const char* typed, bool enter) {
    edit_->setFocus();
    edit_->selectAll();
    QTest::keyClick(edit_, Qt::Key_Delete);
    QTest::keyClicks(edit_, QString::fromLatin1(typed));
    handler_.seen.clear();
    if (enter) {
      QTest::keyClick(edit_, Qt::Key_Return);
    } else {
      other_->setFocus();
    }
  }

  std::unique_ptr<QWidget> window_;
  TextAtNotification handler_;
  QLineEdit* edit_ = nullptr;
  QAbstractButton* other_ = nullptr;
};

TEST_F(NumberFieldTest, ATypedValueIsLimitedOrPutBackWithANoticeBeforeTheWindowReadsIt) {
  struct Case {
    const char* typed;
    bool enter;
    QString read;  // the edit's text when the window is told
    QString notice;
  };
  const Case cases[] = {
      {"1234", false, "1234", QString()},
      {"12", true, "200", "Set to 200: allowed values are 200 to 6500"},
      {"9999", false, "6500", "Set to 6500: allowed values are 200 to 6500"},
      // Nothing typed: the value the edit had when the user came in (6500 from the last case).
      {"", false, "6500", "Not a number: kept 6500 (allowed values are 200 to 6500)"},
  };
  for (const Case& c : cases) {
    Type(c.typed, c.enter);
    ASSERT_FALSE(handler_.seen.isEmpty()) << c.typed;
    EXPECT_EQ(handler_.seen.first(),
              (c.enter ? QStringLiteral("return:") : QStringLiteral("killfocus:")) + c.read)
        << c.typed;
    EXPECT_EQ(edit_->text(), c.read) << c.typed;
    EXPECT_EQ(FieldNotice(edit_), c.notice) << c.typed;
    EXPECT_EQ(edit_->accessibleDescription(), c.notice) << c.typed;
    ShowFieldNotice(edit_, QString());
  }
}

TEST_F(NumberFieldTest, TypingAgainTakesTheNoticeBack) {
  Type("12", true);
  ASSERT_FALSE(FieldNotice(edit_).isEmpty());
  QTest::keyClicks(edit_, QStringLiteral("5"));
  EXPECT_TRUE(FieldNotice(edit_).isEmpty());
}

}  // namespace
}  // namespace vorlin
