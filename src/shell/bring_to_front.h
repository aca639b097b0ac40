#pragma once

class QWidget;

namespace vorlin {

// Shows `window` again when it is hidden (in the tray) or minimised, and puts it in front of the
// others without making it stay on top. What the main window does when a later start asks for it.
void BringToFront(QWidget* window);

}  // namespace vorlin
