// What the status bar keeps of the user's changes: which waiting change a later write carries,
// and what is said for each outcome and reason.
#include <gtest/gtest.h>

#include <string>

#include "app/change_reports.h"

namespace vorlin {
namespace {

using Action = DeviceReport::Action;

DeviceReport Made(Action action, ChangeOutcome outcome, FailReason reason = FailReason::kNone) {
  DeviceReport report;
  report.action = action;
  report.outcome = outcome;
  report.reason = reason;
  return report;
}

std::string ShownDevice(const ChangeReports& reports) {
  const std::optional<ChangeReports::Waiting> shown = reports.Shown();
  return shown ? shown->device + ":" + ReportTextKey(shown->report) : std::string("-");
}

TEST(ChangeReportsTest, EachOutcomeAndReasonHasItsOwnText) {
  struct Case {
    ChangeOutcome outcome;
    FailReason reason;
    std::string key;
  };
  const Case cases[] = {
      {ChangeOutcome::kWritten, FailReason::kNone, "status_written_text"},
      {ChangeOutcome::kProfileOnly, FailReason::kNone, "status_profile_only_text"},
      {ChangeOutcome::kFailed, FailReason::kRefused, "status_failed_refused_text"},
      {ChangeOutcome::kFailed, FailReason::kWrongAnswer, "status_failed_wrong_answer_text"},
      {ChangeOutcome::kFailed, FailReason::kNoAnswer, "status_failed_no_answer_text"},
      {ChangeOutcome::kFailed, FailReason::kUnplugged, "status_failed_unplugged_text"},
      {ChangeOutcome::kFailed, FailReason::kDoesNotFit, "status_failed_too_large_text"},
      {ChangeOutcome::kFailed, FailReason::kNone, "status_write_failed_text"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReportTextKey(Made(Action::kLighting, c.outcome, c.reason)), c.key) << c.key;
}

TEST(ChangeReportsTest, AWaitingChangeStaysUntilAWriteCarriesIt) {
  struct Step {
    const char* device;
    Action action;
    ChangeOutcome outcome;
    std::string shown;  // what waits afterwards
  };
  const Step steps[] = {
      {"mouse", Action::kLighting, ChangeOutcome::kFailed, "mouse:status_write_failed_text"},
      // Another device's success leaves the mouse's failure standing.
      {"pad", Action::kLighting, ChangeOutcome::kWritten, "mouse:status_write_failed_text"},
      // The key table does not carry the settings record.
      {"mouse", Action::kKeys, ChangeOutcome::kWritten, "mouse:status_write_failed_text"},
      // A DPI change writes the whole record, lighting included.
      {"mouse", Action::kSettings, ChangeOutcome::kWritten, "-"},
      {"mouse", Action::kKeys, ChangeOutcome::kFailed, "mouse:status_write_failed_text"},
      {"pad", Action::kLighting, ChangeOutcome::kProfileOnly, "pad:status_profile_only_text"},
      {"mouse", Action::kRecoil, ChangeOutcome::kFailed, "mouse:status_write_failed_text"},
      // The latest of the waiting changes is the one shown.
      {"mouse", Action::kRecoil, ChangeOutcome::kWritten, "pad:status_profile_only_text"},
      {"pad", Action::kLighting, ChangeOutcome::kWritten, "mouse:status_write_failed_text"},
      // A whole profile written (a switch, a reset, a retry) carries everything.
      {"mouse", Action::kProfile, ChangeOutcome::kWritten, "-"},
      // A whole profile that failed waits for a whole profile.
      {"mouse", Action::kReset, ChangeOutcome::kFailed, "mouse:status_write_failed_text"},
      {"mouse", Action::kLighting, ChangeOutcome::kWritten, "mouse:status_write_failed_text"},
      {"mouse", Action::kProfile, ChangeOutcome::kWritten, "-"},
  };
  ChangeReports reports;
  int n = 0;
  for (const Step& step : steps) {
    reports.Take(step.device, Made(step.action, step.outcome));
    EXPECT_EQ(ShownDevice(reports), step.shown) << "step " << n;
    ++n;
  }
}

}  // namespace
}  // namespace vorlin
