#include "devices/mouse_pad_device.h"

#include "hid/device_link.h"

namespace vorlin {

CHalvexMousePadDevice::CHalvexMousePadDevice(QWidget* parent) : CHalvexUSBDevice(DeviceFamily::kMousePad, parent) {}

// The readers call into this object: they are stopped before its members go.
CHalvexMousePadDevice::~CHalvexMousePadDevice() {
  Shutdown();
}

}  // namespace vorlin
