#include "sim/fault_plan.h"

#include <algorithm>

namespace vorlin {

void FaultPlan::FailReplies(int count, uint8_t status) {
  failCount_ = std::max(count, 0);
  failStatus_ = status;
}

void FaultPlan::WrongEcho(int count, bool followWithCorrectReply) {
  wrongEchoCount_ = std::max(count, 0);
  correctAfterWrongEcho_ = followWithCorrectReply;
}

void FaultPlan::DelayReplies(int count, int delayMs) {
  delayCount_ = std::max(count, 0);
  delayMs_ = std::max(delayMs, 0);
}

void FaultPlan::DropReplies(int count) {
  dropCount_ = std::max(count, 0);
}

void FaultPlan::UnplugAfter(int reports, UnplugPoint point) {
  unplugCountdown_ = std::max(reports, 0);
  unplugPoint_ = point;
}

void FaultPlan::Clear() {
  *this = FaultPlan();
}

bool FaultPlan::Idle() const {
  return failCount_ == 0 && wrongEchoCount_ == 0 && delayCount_ == 0 && dropCount_ == 0 &&
         unplugCountdown_ < 0;
}

FaultDecision FaultPlan::Next(bool isCommand) {
  FaultDecision d;
  if (unplugCountdown_ >= 0) {
    if (unplugCountdown_ == 0) {
      // Only reachable for BeforeNextReport (InsteadOfReply fires on the countdown's last report)
      // and for a countdown of 0 of either kind: nothing left to take, the device is gone.
      unplugCountdown_ = -1;
      d.unplugBeforeTaking = true;
      return d;
    }
    --unplugCountdown_;
    if (unplugCountdown_ == 0 && unplugPoint_ == UnplugPoint::InsteadOfReply) {
      unplugCountdown_ = -1;
      d.unplugInsteadOfReply = true;
      return d;
    }
  }
  if (!isCommand) return d;
  if (failCount_ > 0) {
    --failCount_;
    d.status = failStatus_;
  }
  if (wrongEchoCount_ > 0) {
    --wrongEchoCount_;
    d.wrongEcho = true;
    d.correctAfterWrongEcho = correctAfterWrongEcho_;
  }
  if (delayCount_ > 0) {
    --delayCount_;
    d.delayMs = delayMs_;
  }
  if (dropCount_ > 0) {
    --dropCount_;
    d.noReply = true;
  }
  return d;
}

}  // namespace vorlin
