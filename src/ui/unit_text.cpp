#include "ui/unit_text.h"

#include "ui/translator.h"

namespace vorlin {

QString LevelOfMaximumText(int value, int maximum) {
  QString format = Translator::Instance().Text(QStringLiteral("level_of_max_text"));
  // A language without the text (a skin of its own) still shows the scale.
  if (!format.contains(QLatin1String("%2"))) format = QStringLiteral("%1/%2");
  return format.arg(QString::number(value), QString::number(maximum));
}

QString ValueWithUnitText(int value, const QString& unit_key) {
  return QString::number(value) + QLatin1Char(' ') + Translator::Instance().Text(unit_key);
}

}  // namespace vorlin
