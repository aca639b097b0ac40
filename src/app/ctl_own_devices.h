#pragma once

// `vorlin ctl` while the program is not running: this process opens the devices itself, without a
// window, and answers the command's calls from them exactly as the running program would (the
// same BusDeviceService over bare device clients and profile lists). It holds the program's
// single-instance lock meanwhile, so the window and a `vorlin ctl` run never drive one device at
// once: while the program runs it is refused, and a start of the program waits for it.

#include "app/ctl_client.h"

namespace vorlin {

struct OwnDeviceOptions {
  // The machine's hidraw nodes (tests leave them out and use --demo).
  bool useHidraw = true;
  // How long the devices found may take to be read before the command goes on without them (a
  // mouse asleep behind its receiver never answers).
  int settleTimeoutMs = 5000;
};

CtlResult RunCtlOnOwnDevices(const CtlCommand& command, const OwnDeviceOptions& options);

// The calls of `command` answered by `handler` on this thread: a call that waits for a device
// runs the event loop until the answer comes (the handler answers within its own time limit).
CtlCall HandlerCtlCall(DeviceBusHandler& handler);

}  // namespace vorlin
