#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "ui/notification.h"

class QWidget;

namespace vorlin {

// Delivers the notifications raised below a window to that window's NotifyHandler.
//
// A bridge is a child object of the window's root widget. SendNotification() walks from the
// sender up through its parents and hands the notification to the first bridge it meets, so a
// sub-window (a dialog, a menu) with its own bridge keeps its notifications to itself. The root
// also reports "windowinit" the first time it is shown and "windowsize" when it is resized.
class NotifyBridge : public QObject {
  Q_OBJECT

 public:
  // Installs a bridge on `root` (replacing an earlier one) and returns it; the root owns it.
  // A handler destroyed before the root detaches itself.
  static NotifyBridge* Install(QWidget* root, NotifyHandler* handler);
  // The bridge installed directly on `widget`, or nullptr.
  static NotifyBridge* Of(const QWidget* widget);

  ~NotifyBridge() override;

  void SetHandler(NotifyHandler* handler);
  NotifyHandler* Handler() const { return handler_; }
  void Deliver(const Notification& notification);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  NotifyBridge(QWidget* root, NotifyHandler* handler);

  QPointer<QWidget> root_;
  NotifyHandler* handler_ = nullptr;
  bool init_sent_ = false;
};

// Raises a notification from `sender`. Nothing happens when no bridge is found above it or while
// a NotificationBlocker is alive.
void SendNotification(QWidget* sender, const QString& type, int timer_id = 0);

// Suppresses every notification while alive: used by the setters that change a control's state
// "without notification" (the control's own signals still fire, the window just hears nothing).
// UI thread only.
class NotificationBlocker {
 public:
  NotificationBlocker();
  ~NotificationBlocker();
  NotificationBlocker(const NotificationBlocker&) = delete;
  NotificationBlocker& operator=(const NotificationBlocker&) = delete;

  static bool Active();
};

// Connects the standard widgets below (and including) `root` to notifications. Each widget is
// wired once; calling this again after adding controls wires only the new ones.
//   buttons: "click"; checkable buttons also "selectchanged" on every change of state
//   sliders and scroll bars: "movevaluechanged" while dragged, "valuechanged" when the user is
//     done (release, keys, clicks on the groove); setValue() from code raises nothing
//   combos: "itemselect" when the current index changes
//   line edits: "textchanged" on user edits, "return" on Enter (whatever the text)
//   list widgets: "itemselect" (current row), "itemclick", "itemactivate" (double click/Enter)
//   every named control: "setfocus"/"killfocus", "msenter"/"msleave", "menu" (context menu)
void WireNotifications(QWidget* root);

}  // namespace vorlin
