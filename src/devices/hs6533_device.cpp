#include "devices/hs6533_device.h"

#include "hid/device_link.h"

namespace vorlin {

CHalvexHS6533Device::CHalvexHS6533Device(const ProductEntry& product, ProfileFolders folders)
    : CHalvexUSBDevice(product, std::move(folders)) {}

// The readers call into this object: they are stopped before its members go.
CHalvexHS6533Device::~CHalvexHS6533Device() {
  Shutdown();
}

}  // namespace vorlin
