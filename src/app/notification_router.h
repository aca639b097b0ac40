#pragma once

// The main window's notification routing: one table per notification type, each mapping a control
// name to its handler. A control name of the form prefix + decimal number ("key_12",
// "DPI_slider_3") is looked up by its prefix, and the handler gets the number. Adding an operation
// is one line:
//   router.On(notify::kClick, "color_option_", [this](const Notification& n, int i) { ... });

#include <functional>
#include <optional>

#include <QHash>
#include <QString>

#include "ui/notification.h"

namespace vorlin {

// "key_12" -> {"key_", 12}; a name without a trailing number (or only digits) -> nullopt.
struct SplitName {
  QString prefix;
  int number = 0;
  bool operator==(const SplitName&) const = default;
};
std::optional<SplitName> SplitControlName(const QString& name);

class NotificationRouter {
 public:
  // `number` is the name's trailing number for a prefix entry, -1 for a whole name.
  using Handler = std::function<void(const Notification& notification, int number)>;

  // Routes notifications of `type` (any case) from the control `name`. A name ending in '_'
  // ("key_") is a prefix: it takes the controls named prefix + number, and only those. Any other
  // name takes exactly that control. A later entry for the same type and name replaces the
  // earlier one.
  void On(const QString& type, const QString& name, Handler handler);
  // Every notification of `type`, whatever the control (e.g. "windowinit", "timer").
  void OnType(const QString& type, Handler handler);

  enum class Result { kUnrouted, kHandled };
  // Runs the handler of the notification, if any.
  Result Route(const Notification& notification) const;

  // Whether some entry would take the notification.
  bool Routes(const QString& type, const QString& name) const;

 private:
  const Handler* Find(const QString& type, const QString& name, int* number) const;

  QHash<QString, QHash<QString, Handler>> by_name_;    // type (lower case) -> name -> handler
  QHash<QString, QHash<QString, Handler>> by_prefix_;  // type (lower case) -> prefix -> handler
  QHash<QString, Handler> by_type_;
};

}  // namespace vorlin
