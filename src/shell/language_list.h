#pragma once

#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>

class QSettings;

namespace vorlin {

// One language the interface offers. Its position in the list is the language index.
struct LanguageEntry {
  int id = 0;    // "Language_ID": the value stored as the user's choice
  QString name;  // "Language_name": the language's code name, for the log
  QString file;  // "Language_file": the skin's language file
  QString text;  // "Language_text": shown in the language list
  bool operator==(const LanguageEntry&) const = default;
};

// The list of "Language.config" (install folder, DefaultData):
//   {"Language": [{"Language_ID": 2052, "Language_name": "zh_CN",
//                  "Language_file": "lan_cn.xml", "Language_text": "简体中文"}, ...]}
// An entry keeps its position even when it is damaged (fields of the wrong type read as 0 or
// empty), so the indexes of the others do not shift. A document that cannot be read, is not JSON,
// or has no non-empty "Language" array gives DefaultLanguageList(), so there is always at least one
// language to apply.
std::vector<LanguageEntry> ParseLanguageList(const QByteArray& document);
std::vector<LanguageEntry> LoadLanguageList(const QString& path);
std::vector<LanguageEntry> DefaultLanguageList();

// The install folder's "DefaultData/Language.config".
QString LanguageConfigPath();

// The stored choice: the value "LANGUAGE" (an entry's id) of the program's settings.
inline constexpr char kLanguageSettingKey[] = "LANGUAGE";
std::optional<int> ReadStoredLanguageId(const QSettings& settings);
void WriteStoredLanguageId(QSettings& settings, int id);

// Index of the first entry with that id; 0 when there is no id or no matching entry.
int LanguageIndexOfId(const std::vector<LanguageEntry>& entries, std::optional<int> id);

// The language for a first start, from the desktop's locale name ("de_DE.UTF-8", "pt_BR",
// "fr", "C"): the entry of that language and country, else the first of that language, else
// English ("en_US"), else the first entry.
int LanguageIndexOfLocale(const std::vector<LanguageEntry>& entries, const QString& locale);

// The desktop's locale name for messages: LC_ALL, else LC_MESSAGES, else LANG (the first that is
// set and not empty), "C" when none is.
QString DesktopMessagesLocale();

}  // namespace vorlin
