#pragma once

// What the language tests of the skin layouts share: the text keys a layout names, and the keys
// a language file has no text for.

#include <optional>

#include <QFile>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include "ui/language_file.h"

namespace vorlin::test {

// Every string of the layout's "textKey", "toolTipKey" and "itemKeys" properties; nullopt when
// the file cannot be read or is not well-formed XML.
inline std::optional<QSet<QString>> LayoutTextKeys(const QString& layout_path) {
  QFile file(layout_path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QXmlStreamReader xml(&file);
  QSet<QString> keys;
  QString property;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement() && xml.name() == QLatin1String("property")) property.clear();
    if (!xml.isStartElement()) continue;
    if (xml.name() == QLatin1String("property")) {
      property = xml.attributes().value(QLatin1String("name")).toString();
    } else if (xml.name() == QLatin1String("string") &&
               (property == u"textKey" || property == u"toolTipKey" || property == u"itemKeys")) {
      keys << xml.readElementText().trimmed();
    }
  }
  if (xml.hasError()) return std::nullopt;
  return keys;
}

// The keys of `keys` that the language file gives no text; nullopt when it cannot be read.
inline std::optional<QStringList> KeysWithoutText(const QString& language_path,
                                                  const QSet<QString>& keys) {
  QFile file(language_path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const std::optional<LanguageTexts> texts = ParseLanguageFile(file.readAll());
  if (!texts) return std::nullopt;
  QStringList missing;
  for (const QString& key : keys) {
    if (texts->texts.value(key).isEmpty()) missing << key;
  }
  missing.sort();
  return missing;
}

}  // namespace vorlin::test
