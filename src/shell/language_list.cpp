#include "shell/language_list.h"

#include <climits>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSettings>

#include "platform/log.h"
#include "shell/app_paths.h"

namespace vorlin {

namespace {

// Documents written by hand on other systems often start with a UTF-8 byte order mark, which the
// JSON parser refuses.
QByteArray WithoutBom(const QByteArray& document) {
  static const QByteArray bom("\xEF\xBB\xBF");
  return document.startsWith(bom) ? document.mid(bom.size()) : document;
}

LanguageEntry EntryOf(const QJsonValue& value) {
  const QJsonObject object = value.toObject();
  LanguageEntry entry;
  const QJsonValue id = object.value(QLatin1String("Language_ID"));
  // An id beyond int range is as unusable as a missing one.
  if (id.isDouble() && id.toDouble() >= INT_MIN && id.toDouble() <= INT_MAX) {
    entry.id = static_cast<int>(id.toDouble());
  }
  entry.name = object.value(QLatin1String("Language_name")).toString();
  entry.file = object.value(QLatin1String("Language_file")).toString();
  entry.text = object.value(QLatin1String("Language_text")).toString();
  return entry;
}

}  // namespace

std::vector<LanguageEntry> DefaultLanguageList() {
  return {
      {2052, QStringLiteral("zh_CN"), QStringLiteral("lan_cn.xml"), QStringLiteral(u"简体中文")},
      {1033, QStringLiteral("en_US"), QStringLiteral("lan_en.xml"), QStringLiteral("English")}};
}

std::vector<LanguageEntry> ParseLanguageList(const QByteArray& document) {
  QJsonParseError error;
  const QJsonDocument json = QJsonDocument::fromJson(WithoutBom(document), &error);
  if (error.error != QJsonParseError::NoError || !json.isObject()) {
    qCWarning(lcVorlin) << "language list unreadable (" << error.errorString()
                        << "); using the built-in list";
    return DefaultLanguageList();
  }
  const QJsonValue languages = json.object().value(QLatin1String("Language"));
  if (!languages.isArray() || languages.toArray().isEmpty()) {
    qCWarning(lcVorlin) << "language list has no \"Language\" entries; using the built-in list";
    return DefaultLanguageList();
  }
  std::vector<LanguageEntry> entries;
  for (const QJsonValue& value : languages.toArray()) entries.push_back(EntryOf(value));
  return entries;
}

std::vector<LanguageEntry> LoadLanguageList(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    qCWarning(lcVorlin) << "language list missing:" << path << "; using the built-in list";
    return DefaultLanguageList();
  }
  return ParseLanguageList(file.readAll());
}

QString LanguageConfigPath() {
  return InstallPath(QStringLiteral("DefaultData/Language.config"));
}

std::optional<int> ReadStoredLanguageId(const QSettings& settings) {
  const QVariant value = settings.value(QLatin1String(kLanguageSettingKey));
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const int id = value.toInt(&ok);
  if (!ok) return std::nullopt;
  return id;
}

void WriteStoredLanguageId(QSettings& settings, int id) {
  settings.setValue(QLatin1String(kLanguageSettingKey), id);
  settings.sync();
  if (settings.status() == QSettings::NoError) {
    qCInfo(lcVorlin) << "language choice stored:" << id;
  } else {
    qCWarning(lcVorlin) << "cannot store the language choice in" << settings.fileName();
  }
}

int LanguageIndexOfId(const std::vector<LanguageEntry>& entries, std::optional<int> id) {
  if (!id) return 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].id == *id) return static_cast<int>(i);
  }
  return 0;
}

int LanguageIndexOfLocale(const std::vector<LanguageEntry>& entries, const QString& locale) {
  // "de_DE.UTF-8@euro" -> "de_DE"; "de" -> "de".
  const QString name = locale.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
  const QString language = name.section(QLatin1Char('_'), 0, 0);
  const auto find = [&entries](auto matches) -> std::optional<int> {
    for (size_t i = 0; i < entries.size(); ++i) {
      if (matches(entries[i].name)) return static_cast<int>(i);
    }
    return std::nullopt;
  };
  if (!language.isEmpty() && language != QLatin1String("C") &&
      language != QLatin1String("POSIX")) {
    if (const auto exact = find([&](const QString& n) { return n.compare(name, Qt::CaseInsensitive) == 0; }))
      return *exact;
    if (const auto same = find([&](const QString& n) {
          return n.section(QLatin1Char('_'), 0, 0).compare(language, Qt::CaseInsensitive) == 0;
        }))
      return *same;
  }
  return find([](const QString& n) { return n == QLatin1String("en_US"); }).value_or(0);
}

QString DesktopMessagesLocale() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty()) return value;
  }
  return QStringLiteral("C");
}

}  // namespace vorlin
