#pragma once

// A HidChannel over a file descriptor that keeps report boundaries: an open hidraw node, where
// every read(2) returns one input report and every write(2) sends one output report, or one end of
// a socketpair(AF_UNIX, SOCK_SEQPACKET), which behaves the same way and stands in for a node in
// the tests.
//
// Waits are poll() on the descriptor beside a private eventfd that Abort() makes readable, so a
// blocked reader or writer is released at once and never polls a flag. The eventfd is never
// cleared: once aborted, the channel stays aborted and every call returns Aborted without
// touching the descriptor.
//
// What the calls promise:
// - A timeout is a deadline: a call that times out has waited at least timeoutMs (an interrupted
//   poll is resumed with the time left), and no transfer stays queued behind it, since a report
//   that arrives after the deadline simply stays in the descriptor for the next ReadReport.
// - A hang-up or error on the descriptor (the device was unplugged, the peer closed its end) ends
//   the wait with Error at once. Reports the kernel had already queued are still read first.
//   A zero-length read is taken as the end of the stream (a hidraw node never yields an empty
//   report; an ended socket does), so it is an Error too.
// - A report longer than the buffer is cut to the buffer; its tail is dropped, as hidraw does, and
//   the next ReadReport returns the next report.
// - An empty output report is refused with Error: hidraw rejects it, and on a socket it would read
//   as the end of the stream.
// - Writing to a socket whose peer is gone returns Error; it never raises SIGPIPE.
// - One thread may read while another writes and a third calls Abort(). The owner must not destroy
//   the channel while a call is still running: Abort() first, then join, then destroy.
//
// Limits: a hidraw write(2) is itself synchronous in the kernel (the USB driver waits for the
// interrupt or control transfer, bounded by its own timeout), so the timeout and Abort() cover
// only the wait for the node to accept the report, not a write already in the kernel.

#include <atomic>
#include <chrono>
#include <memory>

#include "hid/hid_backend.h"

namespace vorlin {

class FdHidChannel : public HidChannel {
 public:
  // Takes ownership of fd (closed when the channel is destroyed, also on failure). Returns nullptr
  // when fd is negative or the abort eventfd cannot be created. A descriptor that is not a socket
  // is switched to O_NONBLOCK.
  static std::unique_ptr<FdHidChannel> Adopt(int fd);

 private:
  // Keeps construction to Adopt() while still allowing std::make_unique.
  struct Token {
    explicit Token() = default;
  };

 public:
  FdHidChannel(Token, int fd, int abortFd, bool isSocket);
  ~FdHidChannel() override;
  FdHidChannel(const FdHidChannel&) = delete;
  FdHidChannel& operator=(const FdHidChannel&) = delete;

  IoResult ReadReport(std::span<uint8_t> buffer, size_t& received, int timeoutMs) override;
  IoResult WriteReport(std::span<const uint8_t> report, int timeoutMs) override;
  void Abort() override;

  // The owned descriptor, for inspection; the channel keeps owning it.
  int Fd() const { return fd_; }

 private:
  // Polls the descriptor for `events` beside the abort eventfd until the descriptor is ready (Ok),
  // the channel is aborted or timeoutMs (negative: no limit) has passed since `start`. On Ok,
  // `revents` holds the descriptor's events.
  IoResult Wait(short events, std::chrono::steady_clock::time_point start, int timeoutMs,
                short& revents) const;

  const int fd_;
  const int abortFd_;
  const bool isSocket_;  // send(MSG_NOSIGNAL) instead of write(2), so a closed peer is no SIGPIPE
  std::atomic<bool> aborted_{false};
};

}  // namespace vorlin
