// Every text the key-assignment panel can show has an English and a Chinese text: the layout's
// keys, the names of the function lists and key tables, and the flow's messages.

#include <gtest/gtest.h>

#include <QSet>
#include <QString>

#include "input/assignment_name.h"
#include "input/function_tables.h"
#include "input/key_name_table.h"
#include "input/mouse_button_name_table.h"
#include "key_set/key_set_control_ui.h"
#include "key_set/key_set_messages.h"
#include "support/layout_text_keys.h"
#include "ui/language_file.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

const QString kSkin = QStringLiteral(VORLIN_SOURCE_DIR "/data/skin");
const char* const kLanguages[] = {"lan_en.xml", "lan_cn.xml"};

QString Key(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The names the panel and the device pages' key lists can show.
QSet<QString> NameKeys() {
  QSet<QString> keys;
  for (const KeyNameRow& row : kKeyNameTable) keys << Key(row.name);
  for (const FunctionRow& row : kMouseButtonNameTable) keys << Key(row.name);
  for (const PanelKind kind : {PanelKind::kMouseButton, PanelKind::kDpi, PanelKind::kMedia,
                               PanelKind::kSystem, PanelKind::kGunKey, PanelKind::kCombination}) {
    for (const FunctionRow& row : FunctionTableOf(kind)) keys << Key(row.name);
  }
  for (const char* name : {"mouse_key_left_Swing", "mouse_key_right_Swing", "mouse_key_up_Swing",
                           "mouse_key_down_Swing", "mouse_key_report_loop", "mouse_key_fire_key",
                           "mouse_key_DPI_shift", "show_window"}) {
    keys << QString::fromLatin1(name);
  }
  keys << Key(kNoFunctionName) << Key(kUnknownFunctionName);
  keys << QString::fromLatin1(kOnlyLeftButtonMessage)
       << QString::fromLatin1(kMacroWriteFailedMessage)
       << QString::fromLatin1(kMacroImageTooLargeMessage)
       << QString::fromLatin1(kKeyTableWriteFailedMessage);
  return keys;
}

TEST(KeySetLanguageTest, EveryTextHasBothLanguages) {
  const std::optional<QSet<QString>> layout_keys =
      test::LayoutTextKeys(kSkin + QLatin1Char('/') + QLatin1String(CKeySetControlUI::kLayout));
  ASSERT_TRUE(layout_keys.has_value());
  // The layout names its function kinds, directions, repeat modes and buttons by key.
  for (const char* key : {"keyset_kind_default", "keyset_kind_combination", "keyset_scroll_down",
                          "keyset_repeat_count", "keyset_apply_text"}) {
    EXPECT_TRUE(layout_keys->contains(QString::fromLatin1(key))) << key;
  }
  const QSet<QString> keys = *layout_keys | NameKeys();
  for (const char* language : kLanguages) {
    const std::optional<QStringList> missing =
        test::KeysWithoutText(kSkin + QLatin1Char('/') + QLatin1String(language), keys);
    ASSERT_TRUE(missing.has_value()) << language;
    EXPECT_TRUE(missing->isEmpty()) << language << ": " << missing->join(u", ").toStdString();
  }
}

TEST(KeySetLanguageTest, OverflowMessageTakesTheNumber) {
  for (const char* language : kLanguages) {
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QString::fromLatin1(language)));
    const QString format = Translator::Instance().Text(kMacroImageTooLargeMessage);
    EXPECT_EQ(format.count(QLatin1String("%d")), 1) << language;
    const QString text = KeySetMessageText(kMacroImageTooLargeMessage, 42);
    EXPECT_TRUE(text.contains(QLatin1String("42"))) << language;
    EXPECT_FALSE(text.contains(QLatin1String("%d"))) << language;
    // A message without a number is shown as it stands.
    EXPECT_EQ(KeySetMessageText(kOnlyLeftButtonMessage, std::nullopt),
              Translator::Instance().Text(kOnlyLeftButtonMessage));
  }
  ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
}

TEST(KeySetLanguageTest, MessageTextIsNeverAFormatOfItsOwn) {
  LanguageTexts texts;
  texts.texts.insert(QStringLiteral("probe_text"), QStringLiteral("%s %n %d %d"));
  Translator::Instance().SetLanguage(texts);
  EXPECT_EQ(KeySetMessageText(QStringLiteral("probe_text"), 7), QStringLiteral("%s %n 7 %d"));
  EXPECT_EQ(KeySetMessageText(QStringLiteral("probe_text"), std::nullopt),
            QStringLiteral("%s %n %d %d"));
  ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
}

}  // namespace
}  // namespace vorlin
