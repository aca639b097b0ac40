#pragma once

// The main window's input capture, wired to this machine: the input devices first, the window
// `window` where they cannot be read, and the cursor position for mouse events of the devices.

#include <memory>

#include "input/device_hook.h"

class QWidget;

namespace vorlin {

std::unique_ptr<CDeviceHook> CreateDeviceHook(QWidget* window);

}  // namespace vorlin
