#include "devices/mouse_device.h"

#include "hid/device_link.h"

namespace vorlin {

CHalvexMouseDevice::CHalvexMouseDevice(QWidget* parent) : CHalvexUSBDevice(DeviceFamily::kMouse, parent) {}

// The readers call into this object: they are stopped before its members go.
CHalvexMouseDevice::~CHalvexMouseDevice() {
  Shutdown();
}

int CHalvexMouseDevice::ProbeLink() {
  return LinkOpen() && OnReceiver() && Link().ProbeWireless() ? 1 : 0;
}

}  // namespace vorlin
