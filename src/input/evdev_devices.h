#pragma once

// Finding the keyboards and mice among the input device nodes (/dev/input/event*).

#include <linux/input-event-codes.h>

#include <string>
#include <vector>

#include "input/input_source.h"

namespace vorlin {

// What a device node can do, from its capability bits.
struct EvdevKind {
  bool keyboard = false;  // letter keys, Enter and Space
  bool mouse = false;     // relative X and Y and a left button
};

// `has(type, code)` answers whether the node reports event `code` of `type` (EV_KEY, EV_REL).
template <typename Has>
EvdevKind ClassifyEvdevNode(Has has);

// One opened node. The descriptor belongs to the object and closes with it (which also drops a
// grab the kernel still holds for it).
class OpenedInputDevice {
 public:
  OpenedInputDevice(int fd, std::string name, EvdevKind kind);
  ~OpenedInputDevice();
  OpenedInputDevice(OpenedInputDevice&& other) noexcept;
  OpenedInputDevice& operator=(OpenedInputDevice&& other) noexcept;
  OpenedInputDevice(const OpenedInputDevice&) = delete;
  OpenedInputDevice& operator=(const OpenedInputDevice&) = delete;

  int fd() const { return fd_; }
  const std::string& name() const { return name_; }
  EvdevKind kind() const { return kind_; }

 private:
  int fd_ = -1;
  std::string name_;
  EvdevKind kind_;
};

struct InputDeviceScan {
  std::vector<OpenedInputDevice> devices;  // keyboards and mice asked for
  int denied = 0;                          // nodes we may not open
};

// Opens the keyboards (when request.keyboard) and mice (when request.mouse) below `folder`,
// non-blocking, with their time stamps on the monotonic clock.
InputDeviceScan OpenInputDevices(const std::string& folder, const CaptureRequest& request);

// ------------------------------------------------------------------------------------------------

template <typename Has>
EvdevKind ClassifyEvdevNode(Has has) {
  EvdevKind kind;
  kind.keyboard = has(EV_KEY, KEY_A) && has(EV_KEY, KEY_Z) && has(EV_KEY, KEY_ENTER) &&
                  has(EV_KEY, KEY_SPACE);
  kind.mouse = has(EV_REL, REL_X) && has(EV_REL, REL_Y) && has(EV_KEY, BTN_LEFT);
  return kind;
}

}  // namespace vorlin
