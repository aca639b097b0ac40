#pragma once

// The device object of each family: the mouse, the keyboard, the mouse pad and the headset.

#include <memory>

#include "devices/device_rows.h"

class QWidget;

namespace vorlin {

class CHalvexUSBDevice;

// A new, unattached device object of `family`; nullptr for DeviceFamily::kNone.
std::unique_ptr<CHalvexUSBDevice> CreateDeviceObject(DeviceFamily family);

}  // namespace vorlin
