#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include "ui/find_control.h"
#include "shell/language_list.h"
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

std::optional<LanguageTexts> ReadProgramLanguage(const QString& file_name) {
  QFile file(SkinManager::Instance().FindFile(file_name));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return ParseLanguageFile(file.readAll());
}

// The placeholders a text fills in ("%1", "%d", ...), sorted: a translation may reorder them.
QStringList Placeholders(const QString& text) {
  static const QRegularExpression placeholder(QStringLiteral("%(\\d|[a-z])"));
  QStringList found;
  for (const QRegularExpressionMatch& m : placeholder.globalMatch(text)) found << m.captured();
  found.sort();
  return found;
}

// Every language the list offers has its file, with every text of the English one, translated,
// and with the same placeholders.
TEST(LanguageFileTest, EveryListedLanguageHasEveryText) {
  testing::UseProgramSkin();
  const auto english = ReadProgramLanguage(QStringLiteral("lan_en.xml"));
  ASSERT_TRUE(english);
  QStringList english_keys = english->texts.keys();
  english_keys.sort();
  const std::vector<LanguageEntry> languages = LoadLanguageList(
      QStringLiteral(VORLIN_SOURCE_DIR "/data/DefaultData/Language.config"));
  ASSERT_GE(languages.size(), 16u);
  for (const LanguageEntry& language : languages) {
    SCOPED_TRACE(language.file.toStdString());
    const auto texts = ReadProgramLanguage(language.file);
    ASSERT_TRUE(texts) << "missing or unreadable";
    EXPECT_EQ(texts->name, language.text);
    QStringList keys = texts->texts.keys();
    keys.sort();
    EXPECT_EQ(keys, english_keys);
    if (language.file == QLatin1String("lan_en.xml")) continue;
    int untranslated = 0;
    for (const QString& key : english_keys) {
      const QString text = texts->texts.value(key);
      const QString reference = english->texts.value(key);
      EXPECT_EQ(Placeholders(text), Placeholders(reference)) << key.toStdString();
      // Longer sentences left in English are a file someone forgot to finish.
      if (text == reference && reference.count(QLatin1Char(' ')) >= 3) ++untranslated;
    }
    EXPECT_EQ(untranslated, 0);
  }
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
