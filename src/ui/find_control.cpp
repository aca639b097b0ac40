#include "ui/find_control.h"

namespace vorlin {

QWidget* FindControl(const QWidget* root, const QString& name) {
  if (!root || name.isEmpty()) return nullptr;
  if (root->objectName() == name) return const_cast<QWidget*>(root);
  return root->findChild<QWidget*>(name);  // Qt searches breadth-first
}

}  // namespace vorlin
