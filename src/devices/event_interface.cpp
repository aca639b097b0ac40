#include "devices/event_interface.h"

#include <vector>

#include "platform/log.h"

namespace vorlin {

namespace {
// After a failed read (the device went away and the interface is not closed yet) the reader
// waits this long before it tries again, instead of spinning on a dead node.
constexpr int kRetryAfterFailureMs = 100;
}  // namespace

EventInterface::EventInterface(std::string exitLog, std::chrono::milliseconds stopBound)
    : stop_bound_(stopBound), reader_(std::move(exitLog)) {}

EventInterface::~EventInterface() {
  Close();
}

bool EventInterface::Open(const std::string& path, Handler handler) {
  Close();
  {
    std::lock_guard lock(lock_);
    if (!device_.Open(path, true, true, true, false)) {
      qCWarning(lcVorlin) << "cannot open the event interface" << path.c_str();
      return false;
    }
    open_.store(true, std::memory_order_relaxed);
  }
  handler_ = std::move(handler);
  reader_.Start([this](const StopEvent& stop) { Read(stop); });
  return true;
}

void EventInterface::Close() {
  {
    std::lock_guard lock(lock_);
    if (!open_.load(std::memory_order_relaxed) && !reader_.Running()) return;
    open_.store(false, std::memory_order_relaxed);
    // Ends the reader's waiting read at once.
    device_.Close();
  }
  reader_.Stop(stop_bound_);
}

std::string EventInterface::Path() const {
  std::lock_guard lock(lock_);
  return open_.load(std::memory_order_relaxed) ? device_.Path() : std::string();
}

void EventInterface::Read(const StopEvent& stop) {
  std::vector<uint8_t> report(std::max<size_t>(device_.Caps().InputReportByteLength, 64));
  while (!stop.IsSet()) {
    if (!open_.load(std::memory_order_relaxed)) {
      stop.Wait(-1);
      break;
    }
    size_t got = 0;
    if (!device_.Read(report.data(), report.size(), got, -1) || got == 0) {
      stop.Wait(kRetryAfterFailureMs);
      continue;
    }
    const std::span<const uint8_t> bytes(report.data(), got);
    device_.UnpackInputReport(bytes);
    const uint16_t code = device_.FirstInputUsage();
    // Key presses come as events too: their codes stay out of the log.
    if (code < 0x0500) qCDebug(lcVorlin).noquote() << "event report" << Qt::hex << code;
    if (handler_) handler_(code, bytes);
  }
}

}  // namespace vorlin
