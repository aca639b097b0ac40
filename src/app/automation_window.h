#pragma once

// What the automation interface sees of the window on top: the open pop-up menu and its items,
// the rows of lists and combo boxes, and the listing of a window's controls. Pure apart from the
// widgets it reads and the menu it acts on.

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QWidget;

namespace vorlin {

// The pop-up menu that is open (the one on top), or nullptr.
QMenu* OpenMenu();
// The item of `menu` whose name (its objectName, the name the menu's layout gives the item) is
// `name`; separators and hidden items are not items. nullptr when there is none.
QAction* MenuItem(const QMenu& menu, const QString& name);
// Chooses `item` as the user does with the keyboard: it becomes the current item and Return is
// pressed, so the menu closes and its opener learns the choice.
void ChooseMenuItem(QMenu& menu, QAction& item);
// What "state" reports about a menu item.
QJsonObject MenuItemStateJson(const QAction& item);

// The texts of the rows of a list or the items of a combo box; an empty list for other controls.
// A list row drawn by a widget of its own is known by the first text of that widget.
QStringList RowTexts(const QWidget* control);
// The row of `control` (a list or combo box) whose text is `text`; -1 when there is none.
int RowWithText(const QWidget* control, const QString& text);

// The window on top: the open menu, else the open modal window, else `main`.
QWidget* TopWindow(QWidget* main);
// Name and class of a window or control.
QJsonObject ControlIdentity(const QObject* object);
// The named controls of `window` (or the items of a menu), in a breadth-first walk: "name",
// "class", "visible", "enabled", "text" where the control shows one, "items" for lists.
QJsonArray ListControls(const QWidget* window);

}  // namespace vorlin
