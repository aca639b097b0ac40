#include "ui/menu_builder.h"

#include <QAbstractButton>
#include <QFrame>

#include "ui/controls.h"
#include "ui/layout_loader.h"

namespace vorlin {

std::unique_ptr<QMenu> BuildMenuFromLayout(const QString& layout, QWidget* parent) {
  LayoutLoader loader;
  std::unique_ptr<QWidget> tree(loader.LoadLayout(layout));
  if (!tree) return nullptr;
  auto menu = std::make_unique<QMenu>(parent);
  menu->setObjectName(tree->objectName());
  for (QWidget* child : tree->findChildren<QWidget*>()) {
    if (auto* button = qobject_cast<QAbstractButton*>(child)) {
      QAction* action = menu->addAction(button->icon(), button->text());
      action->setObjectName(button->objectName());
      action->setData(UserData(button));
      action->setEnabled(button->isEnabled());
      action->setCheckable(button->isCheckable());
      action->setChecked(button->isChecked());
      action->setToolTip(button->toolTip());
    } else if (auto* line = qobject_cast<QFrame*>(child)) {
      if (line->frameShape() == QFrame::HLine) menu->addSeparator();
    }
  }
  return menu;
}

MenuChoice ChoiceOf(const QAction* action) {
  if (!action) return {};
  return {action->objectName(), action->data().toString(), action->text()};
}

QPoint MenuOrigin(QPoint anchor, QSize menu_size, MenuCorner corner) {
  const bool right = corner == MenuCorner::kTopRight || corner == MenuCorner::kBottomRight;
  const bool bottom = corner == MenuCorner::kBottomLeft || corner == MenuCorner::kBottomRight;
  return {anchor.x() - (right ? menu_size.width() : 0),
          anchor.y() - (bottom ? menu_size.height() : 0)};
}

}  // namespace vorlin
