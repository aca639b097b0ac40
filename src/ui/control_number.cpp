#include "ui/control_number.h"

#include <algorithm>

namespace vorlin {

std::optional<int> ControlNumber(const QString& name, QLatin1StringView prefix) {
  constexpr qsizetype kMaxDigits = 9;  // always fits an int
  if (!name.startsWith(prefix)) return std::nullopt;
  const QStringView digits = QStringView(name).mid(prefix.size());
  if (digits.isEmpty() || digits.size() > kMaxDigits ||
      !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
    return std::nullopt;
  return digits.toInt();
}

}  // namespace vorlin
