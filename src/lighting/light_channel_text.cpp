#include "lighting/light_channel_text.h"

#include <algorithm>

namespace vorlin {

ChannelInput ParseColourChannel(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return {0, QStringLiteral("0")};
  const bool digits_only =
      std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
  if (!digits_only) return {0, QStringLiteral("0")};
  bool ok = false;
  const qulonglong number = trimmed.toULongLong(&ok);
  // Digits too many for any integer are above 255 all the same.
  if (!ok || number > 255) return {255, QStringLiteral("255")};
  return {static_cast<int>(number), std::nullopt};
}

}  // namespace vorlin
