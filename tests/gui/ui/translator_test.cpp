#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "ui/find_control.h"
#include "ui/language_file.h"
#include "ui/layout_loader.h"
#include "ui/translator.h"
#include "ui_test_support.h"

namespace vorlin {
namespace {

TEST(LanguageFileTest, ParsesKeysAndRejectsBrokenDocuments) {
  const auto texts = ParseLanguageFile(
      "<?xml version=\"1.0\"?><language name=\"English\">"
      "<text key=\"a\">Alpha</text><text key=\"b\">B &amp; C</text>"
      "<text>no key</text><other/><text key=\"a\">Again</text></language>");
  ASSERT_TRUE(texts.has_value());
  EXPECT_EQ(texts->name, QStringLiteral("English"));
  EXPECT_EQ(texts->texts.size(), 2);
  EXPECT_EQ(texts->texts.value("a"), QStringLiteral("Again"));
  EXPECT_EQ(texts->texts.value("b"), QStringLiteral("B & C"));

  for (const char* broken : {"", "<language><text key=\"a\">x</language>", "<texts/>", "junk"}) {
    EXPECT_FALSE(ParseLanguageFile(broken).has_value()) << broken;
  }
}

TEST(LanguageFileTest, ProgramLanguagesHaveTheSameKeys) {
  testing::UseProgramSkin();
  QFile cn(SkinManager::Instance().FindFile(QStringLiteral("lan_cn.xml")));
  QFile en(SkinManager::Instance().FindFile(QStringLiteral("lan_en.xml")));
  ASSERT_TRUE(cn.open(QIODevice::ReadOnly));
  ASSERT_TRUE(en.open(QIODevice::ReadOnly));
  const auto cn_texts = ParseLanguageFile(cn.readAll());
  const auto en_texts = ParseLanguageFile(en.readAll());
  ASSERT_TRUE(cn_texts && en_texts);
  auto cn_keys = cn_texts->texts.keys();
  auto en_keys = en_texts->texts.keys();
  std::sort(cn_keys.begin(), cn_keys.end());
  std::sort(en_keys.begin(), en_keys.end());
  EXPECT_EQ(cn_keys, en_keys);
}

class TranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::UseProgramSkin();
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_cn.xml")));
  }
  void TearDown() override { Translator::Instance().LoadLanguage(QStringLiteral("lan_cn.xml")); }
};

TEST_F(TranslatorTest, SwitchingLanguageRetextsEveryKeyedWidget) {
  std::unique_ptr<QWidget> window = LoadWindow(testing::TestLayout("controls.ui"));
  ASSERT_NE(window, nullptr);
  auto* label = FindControl<QLabel>(window.get(), QStringLiteral("title_label"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QStringLiteral("提示"));
  EXPECT_EQ(label->toolTip(), QStringLiteral("确定"));

  // Widgets made in code, a combo with keyed items, and one without a key.
  QPushButton made_in_code;
  Translator::Instance().SetTextKey(&made_in_code, QStringLiteral("cancel_text"));
  QComboBox combo;
  Translator::Instance().AddComboItemKey(&combo, QStringLiteral("exit_menu_text"));
  combo.addItem(QStringLiteral("fixed"));
  QLabel unkeyed(QStringLiteral("stays"));

  ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
  EXPECT_EQ(label->text(), QStringLiteral("Tips"));
  EXPECT_EQ(label->toolTip(), QStringLiteral("OK"));
  EXPECT_EQ(made_in_code.text(), QStringLiteral("Cancel"));
  EXPECT_EQ(combo.itemText(0), QStringLiteral("Exit"));
  EXPECT_EQ(combo.itemText(1), QStringLiteral("fixed"));
  EXPECT_EQ(unkeyed.text(), QStringLiteral("stays"));
  EXPECT_EQ(Translator::Instance().LanguageName(), QStringLiteral("English"));
}

TEST_F(TranslatorTest, MissingKeyShowsTheKey) {
  QLabel label;
  Translator::Instance().SetTextKey(&label, QStringLiteral("no_such_key_text"));
  EXPECT_EQ(label.text(), QStringLiteral("no_such_key_text"));
  EXPECT_EQ(Translator::Instance().Text(QStringLiteral("tips_text")), QStringLiteral("提示"));
}

TEST_F(TranslatorTest, MissingLanguageFileKeepsTheCurrentLanguage) {
  EXPECT_FALSE(Translator::Instance().LoadLanguage(QStringLiteral("lan_xx.xml")));
  EXPECT_EQ(Translator::Instance().Text(QStringLiteral("tips_text")), QStringLiteral("提示"));
  EXPECT_EQ(Translator::Instance().LanguageFile(), QStringLiteral("lan_cn.xml"));
}

}  // namespace
}  // namespace vorlin
