#include "devices/write_outcome.h"

#include "hid/device_link.h"

namespace vorlin {

FailReason FailReasonOf(int result) {
  switch (result) {
    case kLinkOk:
      return FailReason::kNone;
    case kLinkStatusFailed:
    case kLinkStatusRefused:
      return FailReason::kRefused;
    case kLinkWriteFailed:
      // The request could not even be handed to the node: the device has gone from the bus.
      return FailReason::kUnplugged;
    case kLinkNoExchange:
    case kLinkNoDevice:
      return FailReason::kNoAnswer;
    case kWriteDoesNotFit:
      return FailReason::kDoesNotFit;
    case kLinkWrongReply:
    case kLinkBadArgument:
    default:
      // A reply to another command, or an answer (a key count, a table) that cannot be used.
      return FailReason::kWrongAnswer;
  }
}

int FirstFailure(std::initializer_list<int> results) {
  for (const int result : results) {
    if (result != kLinkOk) return result;
  }
  return kLinkOk;
}

DeviceReport MakeDeviceReport(DeviceReport::Action action, int result, bool link_open) {
  DeviceReport report;
  report.action = action;
  if (!link_open) {
    report.outcome = ChangeOutcome::kProfileOnly;
  } else if (result == kLinkOk) {
    report.outcome = ChangeOutcome::kWritten;
  } else {
    report.outcome = ChangeOutcome::kFailed;
    report.reason = FailReasonOf(result);
  }
  return report;
}

}  // namespace vorlin
