// What the user is told about a write, from the link's result: the outcome and its reason.
#include <gtest/gtest.h>

#include "devices/write_outcome.h"
#include "hid/device_link.h"

namespace vorlin {
namespace {

struct ReasonCase {
  const char* name;
  int result;
  FailReason reason;
};

TEST(WriteOutcomeTest, EachLinkResultNamesWhyTheWriteFailed) {
  const ReasonCase cases[] = {
      {"ok", kLinkOk, FailReason::kNone},
      {"status 0xFF", kLinkStatusFailed, FailReason::kRefused},
      {"status 0xFE", kLinkStatusRefused, FailReason::kRefused},
      {"request not written", kLinkWriteFailed, FailReason::kUnplugged},
      {"no reply", kLinkNoExchange, FailReason::kNoAnswer},
      {"nothing behind the receiver", kLinkNoDevice, FailReason::kNoAnswer},
      {"reply to another command", kLinkWrongReply, FailReason::kWrongAnswer},
      {"unusable answer", kLinkBadArgument, FailReason::kWrongAnswer},
      {"macros too large", kWriteDoesNotFit, FailReason::kDoesNotFit},
  };
  for (const ReasonCase& c : cases) EXPECT_EQ(FailReasonOf(c.result), c.reason) << c.name;
}

TEST(WriteOutcomeTest, TheFirstFailedStepIsTheOneReported) {
  EXPECT_EQ(FirstFailure({kLinkOk, kLinkOk}), kLinkOk);
  EXPECT_EQ(FirstFailure({kLinkOk, kLinkStatusRefused, kLinkNoExchange}), kLinkStatusRefused);
  EXPECT_EQ(FirstFailure({kLinkWriteFailed, kLinkOk}), kLinkWriteFailed);
}

TEST(WriteOutcomeTest, ADeviceThatIsAwayKeepsTheChangeInTheProfileWhateverTheResult) {
  struct Case {
    int result;
    bool open;
    ChangeOutcome outcome;
    FailReason reason;
  };
  const Case cases[] = {
      {kLinkOk, true, ChangeOutcome::kWritten, FailReason::kNone},
      {kLinkStatusRefused, true, ChangeOutcome::kFailed, FailReason::kRefused},
      {kLinkNoExchange, true, ChangeOutcome::kFailed, FailReason::kNoAnswer},
      {kLinkNoExchange, false, ChangeOutcome::kProfileOnly, FailReason::kNone},
      {kLinkWriteFailed, false, ChangeOutcome::kProfileOnly, FailReason::kNone},
  };
  for (const Case& c : cases) {
    const DeviceReport report = MakeDeviceReport(DeviceReport::Action::kSettings, c.result, c.open);
    EXPECT_EQ(report.action, DeviceReport::Action::kSettings);
    EXPECT_EQ(report.outcome, c.outcome) << c.result << " open " << c.open;
    EXPECT_EQ(report.reason, c.reason) << c.result << " open " << c.open;
  }
}

}  // namespace
}  // namespace vorlin
