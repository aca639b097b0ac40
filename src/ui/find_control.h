#pragma once

#include <QString>
#include <QWidget>

namespace vorlin {

// The control named `name` at or below `root` (a window or any control); nullptr when there is
// none. Names are objectNames, compared exactly. With several controls of one name, the first
// found in a breadth-first walk wins, so a window's own control is preferred over one nested
// deeper inside a panel.
QWidget* FindControl(const QWidget* root, const QString& name);

template <typename T>
T* FindControl(const QWidget* root, const QString& name) {
  return qobject_cast<T*>(FindControl(root, name));
}

}  // namespace vorlin
