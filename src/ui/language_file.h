#pragma once

#include <optional>

#include <QByteArray>
#include <QHash>
#include <QString>

namespace vorlin {

// A language file maps text keys to the texts of one language:
//   <?xml version="1.0" encoding="UTF-8"?>
//   <language name="English">
//     <text key="tips_text">Tips</text>
//   </language>
// Later entries of a key replace earlier ones; entries without a key are skipped.
struct LanguageTexts {
  QString name;
  QHash<QString, QString> texts;
};

// nullopt when the document is not well-formed or its root is not <language>.
std::optional<LanguageTexts> ParseLanguageFile(const QByteArray& document);

}  // namespace vorlin
