#pragma once

// What a write's link result means for the user's change: the outcome and, for a failure, its
// reason. Pure: the device object feeds it the link's result codes (hid/device_link.h).

#include <initializer_list>

#include "devices/device_view.h"

namespace vorlin {

// A result of ours beside the link's codes: what was to be written does not fit in the device
// (the macros the keys call), so nothing was sent.
inline constexpr int kWriteDoesNotFit = -301;

// What writing the macros the keys call and the key table came to.
struct MacroKeyWrite {
  // 0 written or nothing to write; k > 0 the macros are k four-byte events too large (no key
  // table either); -1 the macros failed (the key table is still written).
  int macros = 0;
  // The first failure of the two as a result code (1 when both were written).
  int result = 1;
  bool keysWritten = true;
};

// Why a write ended with link result `result` (kNone for kLinkOk).
FailReason FailReasonOf(int result);

// The first of `results` that is not kLinkOk, or kLinkOk when every step succeeded: the steps of
// one change (the settings record, the macros, the key table) in the order they were written.
int FirstFailure(std::initializer_list<int> results);

// The report of a change whose writing ended with `result` while the link was (`link_open`) or
// was not open: kept in the profile only when the device is not there, written on kLinkOk,
// failed with its reason otherwise.
DeviceReport MakeDeviceReport(DeviceReport::Action action, int result, bool link_open);

}  // namespace vorlin
