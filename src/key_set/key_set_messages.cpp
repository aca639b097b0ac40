#include "key_set/key_set_messages.h"

#include "ui/translator.h"

namespace vorlin {

QString KeySetMessageText(const QString& text_key, std::optional<int> argument) {
  QString text = Translator::Instance().Text(text_key);
  if (!argument) return text;
  const qsizetype at = text.indexOf(QLatin1String("%d"));
  if (at >= 0) text.replace(at, 2, QString::number(*argument));
  return text;
}

}  // namespace vorlin
