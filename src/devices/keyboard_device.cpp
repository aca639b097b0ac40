#include "devices/keyboard_device.h"

#include "hid/device_link.h"

namespace vorlin {

CHalvexKeyboardDevice::CHalvexKeyboardDevice(const ProductEntry& product, ProfileFolders folders)
    : CHalvexUSBDevice(product, std::move(folders)) {}

// The readers call into this object: they are stopped before its members go.
CHalvexKeyboardDevice::~CHalvexKeyboardDevice() {
  Shutdown();
}

int CHalvexKeyboardDevice::ProbeLink() {
  return LinkOpen() && OnReceiver() && Link().ProbeWireless() ? 1 : 0;
}

}  // namespace vorlin
