#include "devices/device_classes.h"

#include "devices/hs6533_device.h"
#include "devices/keyboard_device.h"
#include "devices/mouse_device.h"
#include "devices/mouse_pad_device.h"

namespace vorlin {

std::unique_ptr<CHalvexUSBDevice> CreateDeviceObject(DeviceFamily family) {
  switch (family) {
    case DeviceFamily::kMouse:
      return std::make_unique<CHalvexMouseDevice>();
    case DeviceFamily::kKeyboard:
      return std::make_unique<CHalvexKeyboardDevice>();
    case DeviceFamily::kMousePad:
      return std::make_unique<CHalvexMousePadDevice>();
    case DeviceFamily::kHeadset:
      return std::make_unique<CHalvexHS6533Device>();
    case DeviceFamily::kNone:
      break;
  }
  return nullptr;
}

}  // namespace vorlin
