#include "app/automation_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QQueue>

#include "app/automation.h"
#include "ui/controls.h"

namespace vorlin {

namespace {

// The first text a list row's own widget shows.
QString RowWidgetText(const QWidget* row) {
  QQueue<const QWidget*> queue{{row}};
  while (!queue.isEmpty()) {
    const QWidget* widget = queue.dequeue();
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
      text = label->text();
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
      text = edit->text();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
      text = button->text();
    }
    if (!text.isEmpty()) return text;
    for (const QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      queue.enqueue(child);
  }
  return {};
}

// Qt's own helpers inside a window (scroll bars, viewports) are named "qt_...".
bool IsOwnControl(const QObject* object) {
  const QString name = object->objectName();
  return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

QJsonObject ListedControl(const QWidget* control) {
  QJsonObject listed = ControlIdentity(control);
  const QJsonObject state = ControlStateJson(control);
  for (const char* key : {"visible", "enabled", "text", "items"}) {
    const QString field = QString::fromLatin1(key);
    if (state.contains(field)) listed.insert(field, state.value(field));
  }
  return listed;
}

}  // namespace

QMenu* OpenMenu() {
  return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QAction* MenuItem(const QMenu& menu, const QString& name) {
  if (name.isEmpty()) return nullptr;
  for (QAction* item : menu.actions()) {
    if (!item->isSeparator() && item->isVisible() && item->objectName() == name) return item;
  }
  return nullptr;
}

void ChooseMenuItem(QMenu& menu, QAction& item) {
  menu.setActiveAction(&item);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(&menu, &press);
}

QJsonObject MenuItemStateJson(const QAction& item) {
  QJsonObject state;
  const auto* menu = qobject_cast<const QMenu*>(item.parent());
  state.insert(QStringLiteral("visible"), item.isVisible() && menu && menu->isVisible());
  state.insert(QStringLiteral("enabled"), item.isEnabled());
  state.insert(QStringLiteral("class"), QStringLiteral("QAction"));
  state.insert(QStringLiteral("checked"), item.isCheckable() && item.isChecked());
  state.insert(QStringLiteral("text"), item.text());
  return state;
}

QStringList RowTexts(const QWidget* control) {
  QStringList texts;
  if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
    for (int i = 0; i < combo->count(); ++i) texts.append(combo->itemText(i));
  } else if (const auto* list = qobject_cast<const QListWidget*>(control)) {
    for (int i = 0; i < list->count(); ++i) {
      const QString text = list->item(i)->text();
      const QWidget* row = ListRow(list, i);
      texts.append(text.isEmpty() && row ? RowWidgetText(row) : text);
    }
  }
  return texts;
}

int RowWithText(const QWidget* control, const QString& text) {
  return static_cast<int>(RowTexts(control).indexOf(text));
}

QWidget* TopWindow(QWidget* main) {
  if (QMenu* menu = OpenMenu()) return menu;
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return main;
}

QJsonObject ControlIdentity(const QObject* object) {
  QJsonObject identity;
  identity.insert(QStringLiteral("name"), object->objectName());
  identity.insert(QStringLiteral("class"), QString::fromLatin1(object->metaObject()->className()));
  return identity;
}

QJsonArray ListControls(const QWidget* window) {
  QJsonArray controls;
  if (!window) return controls;
  if (const auto* menu = qobject_cast<const QMenu*>(window)) {
    for (const QAction* item : menu->actions()) {
      if (item->isSeparator() || !IsOwnControl(item)) continue;
      QJsonObject listed = MenuItemStateJson(*item);
      listed.remove(QStringLiteral("checked"));
      listed.insert(QStringLiteral("name"), item->objectName());
      controls.append(listed);
    }
    return controls;
  }
  QQueue<const QWidget*> queue;
  for (const QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    queue.enqueue(child);
  while (!queue.isEmpty()) {
    const QWidget* control = queue.dequeue();
    // Another window inside this one (a menu, a dialog) is not part of it.
    if (control->isWindow()) continue;
    if (IsOwnControl(control)) controls.append(ListedControl(control));
    for (const QWidget* child : control->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      queue.enqueue(child);
  }
  return controls;
}

}  // namespace vorlin
