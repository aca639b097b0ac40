#include "devices/device_classes.h"

#include "devices/hs6533_device.h"
#include "devices/keyboard_device.h"
#include "devices/mouse_device.h"
#include "devices/mouse_pad_device.h"

namespace vorlin {

std::unique_ptr<CHalvexUSBDevice> CreateDeviceObject(const ProductEntry& product,
                                                     const ProfileFolders& folders) {
  switch (product.family) {
    case DeviceFamily::kMouse:
      return std::make_unique<CHalvexMouseDevice>(product, folders);
    case DeviceFamily::kKeyboard:
      return std::make_unique<CHalvexKeyboardDevice>(product, folders);
    case DeviceFamily::kMousePad:
      return std::make_unique<CHalvexMousePadDevice>(product, folders);
    case DeviceFamily::kHeadset:
      return std::make_unique<CHalvexHS6533Device>(product, folders);
    case DeviceFamily::kNone:
      break;
  }
  return nullptr;
}

}  // namespace vorlin
