#include "devices/device_worker.h"

#include "platform/log.h"

namespace vorlin {

DeviceWorker::DeviceWorker(std::string exitLog) : exit_log_(std::move(exitLog)) {}

DeviceWorker::~DeviceWorker() {
  Stop();
}

void DeviceWorker::Start(Body body) {
  Stop();
  // Reset before the thread exists: a Stop right after Start must not be lost.
  stop_.Reset();
  finished_.Reset();
  thread_ = std::thread([this, body = std::move(body)] {
    body(stop_);
    qCDebug(lcVorlin).noquote() << QString::fromStdString(exit_log_);
    finished_.Set();
  });
}

DeviceWorker::StopOutcome DeviceWorker::Stop(std::chrono::milliseconds bound) {
  if (!thread_.joinable()) return StopOutcome::kNotRunning;
  stop_.Set();
  const bool in_time = finished_.Wait(static_cast<int>(bound.count()));
  if (!in_time) {
    qCWarning(lcVorlin).noquote() << QString::fromStdString(exit_log_)
                                  << "late: waited" << bound.count() << "ms, still waiting";
  }
  thread_.join();
  return in_time ? StopOutcome::kEnded : StopOutcome::kLate;
}

}  // namespace vorlin
