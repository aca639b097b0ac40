#pragma once

// Looking at a modal window that the program opens its own way: `open` returns when the window
// closes; `look` runs while it is shown, then the window is closed (rejected).

#include <functional>

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace vorlin::test {

// False when no modal window was shown.
inline bool WithModal(const std::function<void()>& open,
                      const std::function<void(QDialog*)>& look) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!modal) return;
    seen = true;
    look(modal);
    modal->reject();
  });
  open();
  return seen;
}

}  // namespace vorlin::test
