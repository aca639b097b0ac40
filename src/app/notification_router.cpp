#include "app/notification_router.h"

namespace vorlin {

std::optional<SplitName> SplitControlName(const QString& name) {
  qsizetype digits_start = name.size();
  while (digits_start > 0 && name.at(digits_start - 1).isDigit() &&
         name.at(digits_start - 1).unicode() < 128)
    --digits_start;
  if (digits_start == name.size() || digits_start == 0) return std::nullopt;
  // At most nine digits, so the number always fits an int.
  if (name.size() - digits_start > 9) return std::nullopt;
  bool ok = false;
  const int number = name.mid(digits_start).toInt(&ok);
  if (!ok) return std::nullopt;
  return SplitName{name.left(digits_start), number};
}

void NotificationRouter::On(const QString& type, const QString& name, Handler handler) {
  auto& table = name.endsWith(QLatin1Char('_')) ? by_prefix_ : by_name_;
  table[type.toLower()].insert(name, std::move(handler));
}

void NotificationRouter::OnType(const QString& type, Handler handler) {
  by_type_.insert(type.toLower(), std::move(handler));
}

const NotificationRouter::Handler* NotificationRouter::Find(const QString& type,
                                                            const QString& name,
                                                            int* number) const {
  const QString key = type.toLower();
  if (const auto it = by_type_.constFind(key); it != by_type_.constEnd()) {
    *number = -1;
    return &*it;
  }
  if (const auto table = by_name_.constFind(key); table != by_name_.constEnd()) {
    if (const auto it = table->constFind(name); it != table->constEnd()) {
      *number = -1;
      return &*it;
    }
  }
  const auto prefixes = by_prefix_.constFind(key);
  if (prefixes == by_prefix_.constEnd()) return nullptr;
  if (const std::optional<SplitName> split = SplitControlName(name)) {
    if (const auto it = prefixes->constFind(split->prefix); it != prefixes->constEnd()) {
      *number = split->number;
      return &*it;
    }
  }
  return nullptr;
}

NotificationRouter::Result NotificationRouter::Route(const Notification& notification) const {
  int number = -1;
  const Handler* handler = Find(notification.type, notification.SenderName(), &number);
  if (!handler) return Result::kUnrouted;
  (*handler)(notification, number);
  return Result::kHandled;
}

bool NotificationRouter::Routes(const QString& type, const QString& name) const {
  int number = -1;
  return Find(type, name, &number) != nullptr;
}

}  // namespace vorlin
