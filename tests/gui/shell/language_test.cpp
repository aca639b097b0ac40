#include <optional>
#include <set>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "shell/language_combo.h"
#include "shell/language_fonts.h"
#include "shell/language_list.h"
#include "shell/language_switcher.h"
#include "shell_test_support.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

const QByteArray kTwoLanguages = R"({"Language": [
  {"Language_ID": 2052, "Language_name": "zh_CN", "Language_file": "lan_cn.xml",
   "Language_text": "简体中文"},
  {"Language_ID": 1033, "Language_name": "en_US", "Language_file": "lan_en.xml",
   "Language_text": "English"}]})";

TEST(LanguageList, ReadsEveryEntryInOrder) {
  const std::vector<LanguageEntry> entries = ParseLanguageList(kTwoLanguages);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (LanguageEntry{2052, "zh_CN", "lan_cn.xml", QStringLiteral(u"简体中文")}));
  EXPECT_EQ(entries[1], (LanguageEntry{1033, "en_US", "lan_en.xml", "English"}));
  // A byte order mark in front does not spoil the document.
  EXPECT_EQ(ParseLanguageList(QByteArray("\xEF\xBB\xBF") + kTwoLanguages), entries);
}

TEST(LanguageList, UnusableDocumentsGiveTheBuiltInList) {
  const QByteArray documents[] = {
      "",
      "{",
      "\x00\xff\x10garbage",
      "[]",
      R"({"Language": {}})",
      R"({"Language": []})",
      R"({"Languages": [{"Language_ID": 1}]})",
      R"({"Language": [{"Language_ID": 1033}] trailing)",
  };
  for (const QByteArray& document : documents) {
    EXPECT_EQ(ParseLanguageList(document), DefaultLanguageList()) << document.toStdString();
  }
  EXPECT_FALSE(DefaultLanguageList().empty());
  EXPECT_EQ(LoadLanguageList(QStringLiteral("/nonexistent/Language.config")),
            DefaultLanguageList());
}

TEST(LanguageList, DamagedEntryKeepsItsPlace) {
  const std::vector<LanguageEntry> entries = ParseLanguageList(R"({"Language": [
      {"Language_ID": "2052", "Language_file": 7},
      "not an object",
      {"Language_ID": 1e20, "Language_file": "lan_big.xml"},
      {"Language_ID": 1041, "Language_file": "lan_ja.xml"}]})");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0], LanguageEntry{});
  EXPECT_EQ(entries[1], LanguageEntry{});
  EXPECT_EQ(entries[2].id, 0);  // out of range
  EXPECT_EQ(entries[3].id, 1041);
  EXPECT_EQ(entries[3].file, "lan_ja.xml");
}

TEST(LanguageList, ShippedListIsComplete) {
  const std::vector<LanguageEntry> entries =
      LoadLanguageList(testing::SourceData(QStringLiteral("DefaultData/Language.config")));
  ASSERT_EQ(entries.size(), 16u);  // the fonts name languages 0, 2 and 15
  std::set<int> ids;
  for (const LanguageEntry& entry : entries) {
    EXPECT_FALSE(entry.file.isEmpty());
    EXPECT_FALSE(entry.text.isEmpty());
    EXPECT_TRUE(ids.insert(entry.id).second) << "duplicate id " << entry.id;
  }
  EXPECT_EQ(entries[0].file, "lan_cn.xml");
  EXPECT_EQ(entries[2].name, "zh_TW");
  EXPECT_EQ(entries[15].name, "th_TH");
}

TEST(LanguageList, StoredIdSelectsTheFirstMatchingEntry) {
  const std::vector<LanguageEntry> entries = {{7, "", "a", ""}, {9, "", "b", ""}, {9, "", "c", ""}};
  EXPECT_EQ(LanguageIndexOfId(entries, 9), 1);
  EXPECT_EQ(LanguageIndexOfId(entries, 7), 0);
  EXPECT_EQ(LanguageIndexOfId(entries, 8), 0);
  EXPECT_EQ(LanguageIndexOfId(entries, std::nullopt), 0);
  EXPECT_EQ(LanguageIndexOfId({}, 7), 0);
}

TEST(LanguageList, AFirstStartFollowsTheDesktopLocale) {
  const std::vector<LanguageEntry> entries = LoadLanguageList(
      QStringLiteral(VORLIN_SOURCE_DIR "/data/DefaultData/Language.config"));
  const auto nameOf = [&entries](const char* locale) {
    return entries[static_cast<size_t>(LanguageIndexOfLocale(entries, QString::fromLatin1(locale)))]
        .name;
  };
  const std::pair<const char*, const char*> cases[] = {
      {"de_DE.UTF-8", "de_DE"}, {"de_AT.UTF-8@euro", "de_DE"}, {"fr", "fr_FR"},
      {"pt_BR.UTF-8", "pt_BR"}, {"zh_TW.UTF-8", "zh_TW"},      {"zh_CN.UTF-8", "zh_CN"},
      {"en_GB.UTF-8", "en_US"}, {"C.UTF-8", "en_US"},          {"POSIX", "en_US"},
      {"", "en_US"},            {"xx_YY", "en_US"}};
  for (const auto& [locale, expected] : cases) EXPECT_EQ(nameOf(locale), expected) << locale;
  // A list without English falls back to its first entry.
  EXPECT_EQ(LanguageIndexOfLocale({{1, "zh_CN", "a", ""}, {2, "ja_JP", "b", ""}}, "fr_FR"), 0);
}

TEST(LanguageSetting, StoredValueRoundTripsAndJunkReadsAsNone) {
  QTemporaryDir folder;
  QSettings settings(folder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
  EXPECT_EQ(ReadStoredLanguageId(settings), std::nullopt);
  WriteStoredLanguageId(settings, 1033);
  EXPECT_EQ(ReadStoredLanguageId(settings), 1033);
  settings.setValue(QLatin1String(kLanguageSettingKey), QStringLiteral("english"));
  EXPECT_EQ(ReadStoredLanguageId(settings), std::nullopt);
}

TEST(LanguageFonts, FaceChangesOnlyWhenTheLanguageNeedsAnother) {
  struct Case {
    int from;
    int to;
    std::optional<QString> face;
  };
  const QString other = QString::fromUtf16(kFaceOther);
  const Case cases[] = {
      {-1, 0, QString::fromUtf16(kFaceSimplifiedChinese)},
      {-1, 1, other},
      {0, 1, other},
      {1, 3, std::nullopt},
      {3, 14, std::nullopt},
      {2, 4, other},
      {15, 1, other},
      {1, 15, QString::fromUtf16(kFaceThai)},
      {1, 2, QString::fromUtf16(kFaceTraditionalChinese)},
      {2, 2, QString::fromUtf16(kFaceTraditionalChinese)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FontFaceForLanguageChange(c.to, c.from), c.face) << c.from << " -> " << c.to;
  }
}

TEST(LanguageFonts, TableHasEveryIdInTheFace) {
  const std::vector<UiFont> fonts = BuildUiFonts(QStringLiteral("Some Face"));
  ASSERT_EQ(fonts.size(), UiFontSizes().size());
  std::set<int> ids;
  for (const UiFont& font : fonts) {
    EXPECT_TRUE(ids.insert(font.id).second);
    EXPECT_EQ(font.font.family(), "Some Face");
    EXPECT_FALSE(font.font.bold());
    EXPECT_EQ(font.font.underline(), font.id == 1) << font.id;
  }
  auto size_of = [&fonts](int id) {
    for (const UiFont& font : fonts)
      if (font.id == id) return font.font.pixelSize();
    return -1;
  };
  EXPECT_EQ(size_of(kDefaultFontId), 14);
  EXPECT_EQ(size_of(0), 15);
  EXPECT_EQ(size_of(3), 30);
  EXPECT_EQ(size_of(50), 13);
}

// Records what the switcher asks of its window.
class RecordingHost : public LanguageHost {
 public:
  void ReplaceFonts(const std::vector<UiFont>& fonts) override {
    faces.push_back(fonts.empty() ? QString() : fonts.front().font.family());
  }
  void LanguageApplied(int index) override { applied.push_back(index); }
  std::vector<QString> faces;
  std::vector<int> applied;
};

class LanguageSwitcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinManager::Instance().SetSkinFolder(testing::ShellTestSkin());
    config_path_ = folder_.filePath(QStringLiteral("Language.config"));
    QFile config(config_path_);
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    // Four languages: the list the switching rules are easy to see with.
    config.write(R"({"Language": [
      {"Language_ID": 2052, "Language_name": "zh_CN", "Language_file": "lan_cn.xml"},
      {"Language_ID": 1033, "Language_name": "en_US", "Language_file": "lan_en.xml"},
      {"Language_ID": 1028, "Language_name": "zh_TW", "Language_file": "lan_missing.xml"},
      {"Language_ID": 1041, "Language_name": "ja_JP", "Language_file": "lan_en.xml"}]})");
    // The desktop's language, for a first start.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
      saved_locale_.emplace_back(variable, qgetenv(variable));
      qunsetenv(variable);
    }
    qputenv("LANG", "zh_CN.UTF-8");
  }
  void TearDown() override {
    for (const auto& [variable, value] : saved_locale_) {
      if (value.isNull()) {
        qunsetenv(variable);
      } else {
        qputenv(variable, value);
      }
    }
  }
  std::vector<std::pair<const char*, QByteArray>> saved_locale_;
  QTemporaryDir folder_;
  QString config_path_;
  QSettings settings_{folder_.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
  RecordingHost host_;
};

TEST_F(LanguageSwitcherTest, NothingStoredAppliesTheDesktopsLanguage) {
  // LC_ALL before LC_MESSAGES before LANG; English when the list lacks the language.
  const struct {
    const char* variable;
    const char* value;
    int index;
  } cases[] = {{"LC_MESSAGES", "ja_JP.UTF-8", 3}, {"LC_ALL", "de_DE.UTF-8", 1}};
  for (const auto& c : cases) {
    qputenv(c.variable, c.value);
    EXPECT_EQ(LanguageSwitcher(&host_, config_path_, &settings_).StoredIndex(), c.index) << c.value;
  }
  // A stored choice wins over the desktop.
  WriteStoredLanguageId(settings_, 2052);
  EXPECT_EQ(LanguageSwitcher(&host_, config_path_, &settings_).StoredIndex(), 0);
}

TEST_F(LanguageSwitcherTest, TheFirstLanguageAppliedSetsItsFontsAndIsStored) {
  LanguageSwitcher switcher(&host_, config_path_, &settings_);
  EXPECT_EQ(switcher.CurrentIndex(), -1);
  EXPECT_EQ(switcher.StoredIndex(), 0);
  ASSERT_TRUE(switcher.Apply(switcher.StoredIndex()));
  EXPECT_EQ(switcher.CurrentIndex(), 0);
  EXPECT_EQ(Translator::Instance().Text(QStringLiteral("tips_text")), QStringLiteral(u"提示"));
  EXPECT_EQ(host_.faces, std::vector<QString>{QString::fromUtf16(kFaceSimplifiedChinese)});
  EXPECT_EQ(host_.applied, std::vector<int>{0});
  EXPECT_EQ(ReadStoredLanguageId(settings_), 2052);
}

TEST_F(LanguageSwitcherTest, SwitchingFollowsTheFontRulesAndStoresTheChoice) {
  LanguageSwitcher switcher(&host_, config_path_, &settings_);
  ASSERT_TRUE(switcher.Apply(0));
  ASSERT_TRUE(switcher.Apply(1));
  EXPECT_EQ(Translator::Instance().Text(QStringLiteral("tips_text")), "Tips");
  ASSERT_TRUE(switcher.Apply(3));  // same shared face: the fonts stay
  EXPECT_EQ(host_.faces, (std::vector<QString>{QString::fromUtf16(kFaceSimplifiedChinese),
                                               QString::fromUtf16(kFaceOther)}));
  EXPECT_EQ(host_.applied, (std::vector<int>{0, 1, 3}));
  EXPECT_EQ(ReadStoredLanguageId(settings_), 1041);

  // The current language again changes nothing.
  ASSERT_TRUE(switcher.Apply(3));
  EXPECT_EQ(host_.applied.size(), 3u);

  // A new start finds the stored choice.
  LanguageSwitcher next(&host_, config_path_, &settings_);
  EXPECT_EQ(next.StoredIndex(), 3);
}

// A language whose file is gone must not become the stored choice: the next start would come up
// with bare text keys.
TEST_F(LanguageSwitcherTest, LanguageWithoutItsFileIsRefused) {
  LanguageSwitcher switcher(&host_, config_path_, &settings_);
  ASSERT_TRUE(switcher.Apply(1));
  EXPECT_FALSE(switcher.Apply(2));
  EXPECT_EQ(Translator::Instance().Text(QStringLiteral("tips_text")), "Tips");
  EXPECT_EQ(switcher.CurrentIndex(), 1);
  EXPECT_EQ(ReadStoredLanguageId(settings_), 1033);
  EXPECT_EQ(host_.applied, std::vector<int>{1});
  EXPECT_EQ(host_.faces.size(), 1u);
}

TEST_F(LanguageSwitcherTest, UnknownIndexChangesNothing) {
  LanguageSwitcher switcher(&host_, config_path_, &settings_);
  ASSERT_TRUE(switcher.Apply(1));
  for (int index : {4, 99, -2}) {
    EXPECT_FALSE(switcher.Apply(index)) << index;
    EXPECT_EQ(switcher.CurrentIndex(), 1);
  }
  EXPECT_EQ(host_.applied, std::vector<int>{1});
  EXPECT_EQ(ReadStoredLanguageId(settings_), 1033);
}

TEST_F(LanguageSwitcherTest, StoredIdTheListNoLongerHasFallsBackToTheFirst) {
  WriteStoredLanguageId(settings_, 4242);
  LanguageSwitcher switcher(&host_, config_path_, &settings_);
  EXPECT_EQ(switcher.StoredIndex(), 0);
}

class ComboHandler : public NotifyHandler {
 public:
  void Notify(const Notification& n) override { types.push_back(n.type); }
  std::vector<QString> types;
};

TEST(LanguageCombo, FilledWithTheTextsAndTheCurrentOneSelectedQuietly) {
  QWidget window;
  auto* combo = new QComboBox(&window);
  combo->setObjectName(QStringLiteral("Language_combox_info"));
  ComboHandler handler;
  NotifyBridge::Install(&window, &handler);
  WireNotifications(&window);
  const std::vector<LanguageEntry> entries = ParseLanguageList(kTwoLanguages);

  FillLanguageCombo(combo, entries, 1);
  ASSERT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->itemText(0), QStringLiteral(u"简体中文"));
  EXPECT_EQ(combo->currentIndex(), 1);
  FillLanguageCombo(combo, entries, 7);  // refilled; an index the list lacks selects nothing
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentIndex(), -1);
  EXPECT_TRUE(handler.types.empty()) << "filling the list notified the window";

  combo->setCurrentIndex(0);  // the user's choice is heard
  EXPECT_EQ(handler.types, std::vector<QString>{QStringLiteral("itemselect")});
  NotifyBridge::Of(&window)->SetHandler(nullptr);
}

}  // namespace
}  // namespace vorlin
