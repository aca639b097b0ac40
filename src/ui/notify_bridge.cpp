#include "ui/notify_bridge.h"

#include <vector>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QWidget>

#include "ui/field_notice.h"

namespace vorlin {

namespace {

constexpr char kBridgeName[] = "vorlin_notify_bridge";
constexpr char kWiredProperty[] = "_vorlin_wired";
// Set on a slider between a user action and the value change it causes.
constexpr char kUserActionProperty[] = "_vorlin_user_action";

int g_block_depth = 0;

// Turns focus, hover and context-menu events of named controls into notifications. One instance
// serves every control; it lives as a child of the application object.
class ControlEventFilter : public QObject {
 public:
  using QObject::QObject;

  static ControlEventFilter* Instance() {
    static QPointer<ControlEventFilter> instance;
    if (!instance) instance = new ControlEventFilter(QCoreApplication::instance());
    return instance;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    switch (event->type()) {
      case QEvent::FocusIn:
        NoteNumberField(qobject_cast<QLineEdit*>(widget));
        SendNotification(widget, notify::kSetFocus);
        break;
      case QEvent::FocusOut:
        // A number edit says what became of its text before anyone reads it.
        TidyNumberField(qobject_cast<QLineEdit*>(widget));
        SendNotification(widget, notify::kKillFocus);
        break;
      case QEvent::Enter:
        SendNotification(widget, notify::kMouseEnter);
        break;
      case QEvent::Leave:
        SendNotification(widget, notify::kMouseLeave);
        break;
      case QEvent::ContextMenu:
        SendNotification(widget, notify::kMenu);
        break;
      case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && qobject_cast<QLineEdit*>(widget) &&
            !qobject_cast<QComboBox*>(widget->parentWidget())) {
          TidyNumberField(qobject_cast<QLineEdit*>(widget));
          SendNotification(widget, notify::kReturn);
        }
        break;
      }
      default:
        break;
    }
    return false;
  }
};

void WireSlider(QAbstractSlider* slider) {
  QObject::connect(slider, &QAbstractSlider::sliderMoved, slider,
                   [slider] { SendNotification(slider, notify::kMoveValueChanged); });
  QObject::connect(slider, &QAbstractSlider::sliderReleased, slider,
                   [slider] { SendNotification(slider, notify::kValueChanged); });
  // Keys and clicks on the groove trigger an action first and change the value right after;
  // the value is reported once it has changed.
  QObject::connect(slider, &QAbstractSlider::actionTriggered, slider, [slider](int action) {
    if (action != QAbstractSlider::SliderNoAction && action != QAbstractSlider::SliderMove)
      slider->setProperty(kUserActionProperty, true);
  });
  QObject::connect(slider, &QAbstractSlider::valueChanged, slider, [slider] {
    if (!slider->property(kUserActionProperty).toBool()) return;
    slider->setProperty(kUserActionProperty, QVariant());
    if (!slider->isSliderDown()) SendNotification(slider, notify::kValueChanged);
  });
}

void WireList(QListWidget* list) {
  QObject::connect(list, &QListWidget::currentRowChanged, list,
                   [list] { SendNotification(list, notify::kItemSelect); });
  QObject::connect(list, &QListWidget::itemClicked, list,
                   [list] { SendNotification(list, notify::kItemClick); });
  QObject::connect(list, &QListWidget::itemActivated, list,
                   [list] { SendNotification(list, notify::kItemActivate); });
}

void WireOne(QWidget* widget) {
  if (widget->property(kWiredProperty).toBool()) return;
  widget->setProperty(kWiredProperty, true);
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [button] { SendNotification(button, notify::kClick); });
    QObject::connect(button, &QAbstractButton::toggled, button, [button] {
      if (button->isCheckable()) SendNotification(button, notify::kSelectChanged);
    });
  } else if (auto* slider = qobject_cast<QAbstractSlider*>(widget)) {
    WireSlider(slider);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo,
                     [combo] { SendNotification(combo, notify::kItemSelect); });
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    // A combo's own editor belongs to the combo; only stand-alone edits report.
    if (!qobject_cast<QComboBox*>(edit->parentWidget())) {
      QObject::connect(edit, &QLineEdit::textEdited, edit,
                       [edit] { SendNotification(edit, notify::kTextChanged); });
      // "return" comes from the key itself (see ControlEventFilter): returnPressed stays silent
      // while a number edit holds a value outside its range, and the window still wants to know.
      edit->installEventFilter(ControlEventFilter::Instance());
    }
  } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
    WireList(list);
  }
  const QString name = widget->objectName();
  if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
    widget->installEventFilter(ControlEventFilter::Instance());
}

}  // namespace

QString Notification::SenderName() const {
  return sender ? sender->objectName() : QString();
}

NotifyHandler::~NotifyHandler() {
  const std::vector<NotifyBridge*> bridges = bridges_;  // SetHandler edits the list
  for (NotifyBridge* bridge : bridges) bridge->SetHandler(nullptr);
}

NotifyBridge::NotifyBridge(QWidget* root, NotifyHandler* handler) : QObject(root), root_(root) {
  setObjectName(QLatin1String(kBridgeName));
  root->installEventFilter(this);
  SetHandler(handler);
}

NotifyBridge::~NotifyBridge() {
  SetHandler(nullptr);
}

void NotifyBridge::SetHandler(NotifyHandler* handler) {
  if (handler_) std::erase(handler_->bridges_, this);
  handler_ = handler;
  if (handler_) handler_->bridges_.push_back(this);
}

NotifyBridge* NotifyBridge::Install(QWidget* root, NotifyHandler* handler) {
  if (NotifyBridge* old = Of(root)) {
    old->SetHandler(handler);
    return old;
  }
  return new NotifyBridge(root, handler);  // owned by the root
}

NotifyBridge* NotifyBridge::Of(const QWidget* widget) {
  if (!widget) return nullptr;
  return widget->findChild<NotifyBridge*>(QLatin1String(kBridgeName), Qt::FindDirectChildrenOnly);
}

void NotifyBridge::Deliver(const Notification& notification) {
  if (handler_) handler_->Notify(notification);
}

bool NotifyBridge::eventFilter(QObject* watched, QEvent* event) {
  if (watched == root_) {
    if (event->type() == QEvent::Show && !init_sent_) {
      init_sent_ = true;
      SendNotification(root_, notify::kWindowInit);
    } else if (event->type() == QEvent::Resize) {
      SendNotification(root_, notify::kWindowSize);
    }
  }
  return false;
}

void SendNotification(QWidget* sender, const QString& type, int timer_id) {
  if (!sender || NotificationBlocker::Active()) return;
  for (QWidget* w = sender; w; w = w->parentWidget()) {
    if (NotifyBridge* bridge = NotifyBridge::Of(w)) {
      bridge->Deliver(Notification{type, sender, timer_id});
      return;
    }
  }
}

NotificationBlocker::NotificationBlocker() {
  ++g_block_depth;
}
NotificationBlocker::~NotificationBlocker() {
  --g_block_depth;
}
bool NotificationBlocker::Active() {
  return g_block_depth > 0;
}

void WireNotifications(QWidget* root) {
  if (!root) return;
  WireOne(root);
  for (QWidget* child : root->findChildren<QWidget*>()) WireOne(child);
}

}  // namespace vorlin
