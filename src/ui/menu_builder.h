#pragma once

#include <memory>

#include <QMenu>
#include <QPoint>
#include <QString>

namespace vorlin {

// The item a user chose in a menu.
struct MenuChoice {
  QString name;       // the item control's objectName, e.g. "exit"
  QString user_data;  // its "userdata" property
  QString text;       // its text in the current language
};

// Builds a pop-up menu from a layout file: every button of the layout, in layout order, becomes
// an item (text from its text key, enabled and checkable state kept), every horizontal line
// (QFrame HLine) a separator. nullptr when the layout is missing.
std::unique_ptr<QMenu> BuildMenuFromLayout(const QString& layout, QWidget* parent = nullptr);

// The choice behind a menu action (empty name for none).
MenuChoice ChoiceOf(const QAction* action);

// Where a menu opens relative to the point: the corner of the menu that touches it.
enum class MenuCorner { kTopLeft, kTopRight, kBottomLeft, kBottomRight };
QPoint MenuOrigin(QPoint anchor, QSize menu_size, MenuCorner corner);

}  // namespace vorlin
