#include "ui/control_bindings.h"

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
  if (!root) return 0;
  int bound = 0;
  const QLatin1StringView start(prefix);
  for (QWidget* control : root->findChildren<QWidget*>()) {
    const std::optional<int> number = ControlNumber(control->objectName(), start);
    if (!number) continue;
    BindControl(control, type,
                [handler, n = *number](const Notification& notification) { handler(notification, n); });
    ++bound;
  }
  return bound;
}

void ControlBindings::BindControl(QWidget* control, const char* type, Handler handler) {
  handlers_.insert(Key{control, QString::fromLatin1(type)}, std::move(handler));
  // A control that goes away takes its handlers along (its address may be reused).
  if (!watched_.contains(control)) {
    watched_.insert(control);
    connect(control, &QObject::destroyed, this, [this](QObject* gone) { Forget(gone); });
  }
}

void ControlBindings::Forget(QObject* control) {
  watched_.remove(control);
  for (auto it = handlers_.begin(); it != handlers_.end();) {
    it = it.key().control == control ? handlers_.erase(it) : std::next(it);
  }
}

bool ControlBindings::Dispatch(const Notification& notification) const {
  if (!notification.sender) return false;
  const auto it = handlers_.constFind(Key{notification.sender, notification.type.toLower()});
  if (it == handlers_.cend()) return false;
  it.value()(notification);
  return true;
}

}  // namespace vorlin
