#pragma once

// The handlers of a panel's controls, bound once when the panel is built: each control of the
// panel's layout, found by name, gets a typed handler for one notification type. A name the
// layout lacks is logged then, once, instead of being looked for on every notification; a
// notification finds its handler by its sender and type, not by comparing names.
//
//   using N = const Notification&;
//   bindings.Bind(panel, "deng_light_slider", notify::kValueChanged, [&](N n) {...});
//   bindings.BindNumbered(panel, "color_option_", notify::kClick, [&](N, int number) {...});
//   bindings.BindTimer(list, kScrollTimerId, [&](N) {...});
//   ...
//   if (bindings.Dispatch(notification)) return true;

#include <functional>
#include <vector>

#include <QHash>
#include <QObject>
#include <QString>

#include "ui/notification.h"

class QWidget;

namespace vorlin {

class ControlBindings : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<void(const Notification& notification)>;
  using NumberedHandler = std::function<void(const Notification& notification, int number)>;

  explicit ControlBindings(QObject* parent = nullptr);
  ~ControlBindings() override;

  // Binds `type` notifications of the control `name` below (or at) `root`. False, logged, when
  // the layout has no such control. Binding a control and type again replaces the handler.
  bool Bind(QWidget* root, const QString& name, const char* type, Handler handler);
  bool Bind(QWidget* root, const char* name, const char* type, Handler handler) {
    return Bind(root, QString::fromLatin1(name), type, std::move(handler));
  }
  // Binds every control below `root` named `prefix` followed by a number (see ControlNumber);
  // the handler gets the number. Returns how many were bound; none is logged.
  int BindNumbered(QWidget* root, const char* prefix, const char* type, NumberedHandler handler);
  // Binds a control the caller holds (a control made at run time, such as a list row's edit).
  void BindControl(QWidget* control, const char* type, Handler handler);
  // Binds the control's "timer" notifications of timer `timer_id` (see SetTimer); the control's
  // other timers stay unbound.
  void BindTimer(QWidget* control, int timer_id, Handler handler);
  // Forgets every handler (before a panel binds the controls of another root).
  void Clear();

  // Runs the handler bound to the notification's sender and type. False when none is.
  bool Dispatch(const Notification& notification) const;
  bool Empty() const { return handlers_.isEmpty(); }

 private:
  struct Key {
    const QObject* control;
    QString type;  // lower case
    int timer_id;  // for "timer" notifications; 0 for the others
    bool operator==(const Key&) const = default;
  };
  friend size_t qHash(const Key& key, size_t seed) noexcept {
    return qHashMulti(seed, key.control, key.type, key.timer_id);
  }
  void Insert(QWidget* control, Key key, Handler handler);
  void Forget(QObject* control);

  QHash<Key, Handler> handlers_;
  // The controls whose destruction is watched, with the connection that watches it.
  QHash<const QObject*, QMetaObject::Connection> watched_;
};

}  // namespace vorlin
