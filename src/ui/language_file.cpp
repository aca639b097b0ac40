#include "ui/language_file.h"

#include <QXmlStreamReader>

namespace vorlin {

std::optional<LanguageTexts> ParseLanguageFile(const QByteArray& document) {
  QXmlStreamReader xml(document);
  if (!xml.readNextStartElement() || xml.name() != QLatin1String("language")) return std::nullopt;
  LanguageTexts result;
  result.name = xml.attributes().value(QLatin1String("name")).toString();
  while (xml.readNextStartElement()) {
    if (xml.name() == QLatin1String("text")) {
      const QString key = xml.attributes().value(QLatin1String("key")).toString();
      const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
      if (!key.isEmpty()) result.texts.insert(key, text);
    } else {
      xml.skipCurrentElement();
    }
  }
  if (xml.hasError()) return std::nullopt;
  return result;
}

}  // namespace vorlin
