#pragma once

// Faults a test or the demo asks an emulated device to show. Pure bookkeeping: every output report
// the device takes asks Next() what to do with it, which consumes one step of each pending fault.
//
// Reply faults (status, wrong echo, delay, no reply) count command reports only (report id 4);
// the unplug countdown counts every output report, so that a headset can also be unplugged in the
// middle of its twelve lighting reports. Faults of different kinds run side by side, e.g. a
// delayed reply with a wrong echo.

#include <cstdint>
#include <optional>

namespace vorlin {

enum class UnplugPoint {
  // The countdown's reports are answered as usual; the next report finds the device gone: its
  // write fails.
  BeforeNextReport,
  // The last report of the countdown is taken (the write succeeds, nothing is done with it) and
  // the device goes away before answering, so the reader waiting for the reply sees the unplug.
  InsteadOfReply,
};

struct FaultDecision {
  bool unplugBeforeTaking = false;  // fail the write, then unplug
  bool unplugInsteadOfReply = false;
  bool noReply = false;
  int delayMs = 0;
  std::optional<uint8_t> status;       // answer with this status and do not act on the request
  bool wrongEcho = false;              // answer with another command code in byte 3
  bool correctAfterWrongEcho = false;  // ... and send the right reply right after it
};

class FaultPlan {
 public:
  // The next `count` command replies carry `status` (0xFF or 0xFE) and the request is not acted on.
  void FailReplies(int count, uint8_t status);
  // The next `count` command replies echo another command code (the request's code with bit 7
  // flipped), as a reply left over from an earlier exchange would. With followWithCorrectReply
  // the right reply follows each wrong one.
  void WrongEcho(int count, bool followWithCorrectReply = false);
  // The next `count` command replies are sent delayMs late.
  void DelayReplies(int count, int delayMs);
  // The next `count` command requests are acted on but never answered.
  void DropReplies(int count);
  // Unplugs after `reports` more output reports (0: at the next one), see UnplugPoint.
  void UnplugAfter(int reports, UnplugPoint point = UnplugPoint::BeforeNextReport);
  void Clear();
  bool Idle() const;

  // What to do with the next output report; isCommand tells whether it is a command report.
  FaultDecision Next(bool isCommand);

 private:
  int failCount_ = 0;
  uint8_t failStatus_ = 0xFF;
  int wrongEchoCount_ = 0;
  bool correctAfterWrongEcho_ = false;
  int delayCount_ = 0;
  int delayMs_ = 0;
  int dropCount_ = 0;
  int unplugCountdown_ = -1;  // -1: no unplug planned
  UnplugPoint unplugPoint_ = UnplugPoint::BeforeNextReport;
};

}  // namespace vorlin
