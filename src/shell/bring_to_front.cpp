#include "shell/bring_to_front.h"

#include <QWidget>

namespace vorlin {

void BringToFront(QWidget* window) {
  if (!window) return;
  window = window->window();
  window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  window->show();
  window->raise();
  // Desktops may refuse to move the focus to a program that has not been clicked; they then
  // mark the window as wanting attention instead, which is the best a program may ask for.
  window->activateWindow();
}

}  // namespace vorlin
