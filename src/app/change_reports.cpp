#include "app/change_reports.h"

namespace vorlin {

const char* ReportTextKey(const DeviceReport& report) {
  switch (report.outcome) {
    case ChangeOutcome::kWritten:
      return "status_written_text";
    case ChangeOutcome::kProfileOnly:
      return "status_profile_only_text";
    case ChangeOutcome::kFailed:
      break;
  }
  switch (report.reason) {
    case FailReason::kRefused:
      return "status_failed_refused_text";
    case FailReason::kWrongAnswer:
      return "status_failed_wrong_answer_text";
    case FailReason::kNoAnswer:
      return "status_failed_no_answer_text";
    case FailReason::kUnplugged:
      return "status_failed_unplugged_text";
    case FailReason::kDoesNotFit:
      return "status_failed_too_large_text";
    case FailReason::kNone:
      break;
  }
  return "status_write_failed_text";
}

namespace {

// The part of the device a write carries; a whole profile carries every part.
enum Part { kRecord, kKeys, kRecoil, kWhole };

Part PartOf(DeviceReport::Action action) {
  switch (action) {
    case DeviceReport::Action::kLighting:
    case DeviceReport::Action::kSettings:
      return kRecord;
    case DeviceReport::Action::kKeys:
      return kKeys;
    case DeviceReport::Action::kRecoil:
      return kRecoil;
    case DeviceReport::Action::kProfile:
    case DeviceReport::Action::kReset:
      break;
  }
  return kWhole;
}

}  // namespace

void ChangeReports::Take(const std::string& device, const DeviceReport& report) {
  const Part part = PartOf(report.action);
  if (report.outcome != ChangeOutcome::kWritten) {
    waiting_[{device, part}] = Entry{report, ++taken_};
    return;
  }
  for (auto it = waiting_.begin(); it != waiting_.end();) {
    const bool carried = it->first.first == device && (part == kWhole || it->first.second == part);
    it = carried ? waiting_.erase(it) : std::next(it);
  }
}

std::optional<ChangeReports::Waiting> ChangeReports::Shown() const {
  const std::pair<const std::pair<std::string, int>, Entry>* latest = nullptr;
  for (const auto& entry : waiting_) {
    if (!latest || entry.second.order > latest->second.order) latest = &entry;
  }
  if (!latest) return std::nullopt;
  return Waiting{latest->first.first, latest->second.report};
}

}  // namespace vorlin
