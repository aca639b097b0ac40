#include "ui/control_bindings.h"

#include <optional>
#include <utility>

#include <QWidget>

#include "platform/log.h"
#include "ui/control_number.h"
#include "ui/find_control.h"

namespace vorlin {

ControlBindings::ControlBindings(QObject* parent) : QObject(parent) {}

ControlBindings::~ControlBindings() = default;

bool ControlBindings::Bind(QWidget* root, const QString& name, const char* type, Handler handler) {
  QWidget* control = root ? (root->objectName() == name ? root : FindControl(root, name)) : nullptr;
  if (!control) {
    qCWarning(lcVorlin) << "the layout of" << (root ? root->objectName() : QString())
                        << "has no control" << name;
    return false;
  }
  BindControl(control, type, std::move(handler));
  return true;
}

int ControlBindings::BindNumbered(QWidget* root, const char* prefix, const char* type,
                                  NumberedHandler handler) {
  int bound = 0;
  const QLatin1StringView start(prefix);
  const QList<QWidget*> controls = root ? root->findChildren<QWidget*>() : QList<QWidget*>();
  for (QWidget* control : controls) {
    const std::optional<int> number = ControlNumber(control->objectName(), start);
    if (!number) continue;
    BindControl(control, type,
                [handler, n = *number](const Notification& notification) { handler(notification, n); });
    ++bound;
  }
  if (bound == 0) {
    qCWarning(lcVorlin) << "the layout of" << (root ? root->objectName() : QString())
                        << "has no control" << prefix << "followed by a number";
  }
  return bound;
}

void ControlBindings::BindControl(QWidget* control, const char* type, Handler handler) {
  Insert(control, Key{control, QString::fromLatin1(type).toLower(), 0}, std::move(handler));
}

void ControlBindings::BindTimer(QWidget* control, int timer_id, Handler handler) {
  Insert(control, Key{control, QString::fromLatin1(notify::kTimer).toLower(), timer_id},
         std::move(handler));
}

void ControlBindings::Insert(QWidget* control, Key key, Handler handler) {
  if (!control) return;
  handlers_.insert(std::move(key), std::move(handler));
  // A control that goes away takes its handlers along (its address may be reused).
  if (!watched_.contains(control)) {
    watched_.insert(control, connect(control, &QObject::destroyed, this,
                                     [this](QObject* gone) { Forget(gone); }));
  }
}

void ControlBindings::Clear() {
  for (const QMetaObject::Connection& connection : std::as_const(watched_)) disconnect(connection);
  watched_.clear();
  handlers_.clear();
}

void ControlBindings::Forget(QObject* control) {
  watched_.remove(control);
  for (auto it = handlers_.begin(); it != handlers_.end();) {
    it = it.key().control == control ? handlers_.erase(it) : std::next(it);
  }
}

bool ControlBindings::Dispatch(const Notification& notification) const {
  if (!notification.sender) return false;
  QString type = notification.type.toLower();
  const int timer_id = type == QLatin1StringView(notify::kTimer) ? notification.timer_id : 0;
  const auto it = handlers_.constFind(Key{notification.sender, std::move(type), timer_id});
  if (it == handlers_.cend()) return false;
  // A handler may bind controls or destroy its own, which moves or erases the table's entries:
  // it runs as a copy of its own.
  const Handler handler = it.value();
  handler(notification);
  return true;
}

}  // namespace vorlin
