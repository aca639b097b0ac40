#pragma once

// The discovery scanner: a thread that finds the supported interfaces among those present, binds
// each to its slot of the slot list and tells the main window, and notices when a bound interface
// goes away.
//
// One pass of the scanner:
//   1. When some slot is free, enumerate the interfaces of every registered backend. A path whose
//      four numbers (vid_, pid_, &mi_, &col) belong to a free slot is opened for a probe (read
//      only, shared); the vendor and product of its attributes, the path's interface and
//      collection numbers and the usage page and usage of its capabilities must then equal a free
//      slot's, and the first such slot is bound to the path and announced with InterfaceArrived.
//      The probe is closed in every case, before the sink is called.
//   2. After the first pass of the thread's life, FirstPassDone (even when nothing was found).
//   3. Every bound slot whose node is gone, or whose node now belongs to another device (hidraw
//      numbers are reused), is unbound and announced with InterfaceLost.
//
// Between passes the thread sleeps in poll() on its stop event, its wake-up event, the hidraw
// hot-plug monitor (when there is one) and every backend's change notice (HidBackend::ChangeFd).
// When some registered backend is not covered by any notice (no udev daemon to feed the monitor,
// or a backend without ChangeFd), the sleep is bounded by `rescanInterval`, so devices are still
// found, only later. A pass in which an interface could not be probed (held exclusively by another
// program, not readable yet) or the enumeration failed is also retried after `rescanInterval`.

#include <chrono>
#include <cstddef>
#include <memory>
#include <thread>

#include "hid/hotplug_monitor.h"
#include "hid/slot_list.h"
#include "platform/stop_event.h"

namespace vorlin {

// What the scanner tells its owner. The calls come from the scanner's thread, one at a time, and
// the scanner waits for each to return (the main window runs them as blocking calls on the UI
// thread).
//
// The slot list is shared without a lock: the sink may read and change it only inside these
// calls, when the scanner is waiting and does not touch it. Anything the owner needs outside them
// it has to copy while inside.
//
// The owner usually stops the scanner from the very thread a call may be waiting for. A call that
// hands its work to another thread must therefore also end its wait once
// DiscoveryScanner::StopSignal() is set (returning without the work done), or Stop could only end
// when its bound has passed; after a stop the scanner makes no further calls.
class DiscoverySink {
 public:
  virtual ~DiscoverySink() = default;
  // `slot` was just bound: its entry carries bound = 1 and the interface's path.
  virtual void InterfaceArrived(size_t slot) = 0;
  // `slot`'s interface went away; the slot is already unbound and its path cleared.
  virtual void InterfaceLost(size_t slot) = 0;
  // The first pass is over (once per start, even when no device was found): the main window,
  // hidden while it initialises, can be shown now.
  virtual void FirstPassDone() = 0;
};

struct DiscoveryScannerOptions {
  // Hot-plug notice for the hidraw backend; nullptr when there is none.
  std::unique_ptr<HidrawHotplugMonitor> hotplug;
  // Longest sleep while some backend gives no change notice, and the retry delay after a pass
  // that could not look at every interface.
  std::chrono::milliseconds rescanInterval{1000};

  // The options for this machine: a hot-plug monitor when a udev daemon runs to feed it (without
  // one the monitor would stay silent), else none, so that hidraw nodes are rescanned on a timer.
  static DiscoveryScannerOptions ForThisSystem();
};

class DiscoveryScanner {
 public:
  static constexpr std::chrono::milliseconds kStopBound{1000};

  // `slotList` and `sink` must outlive the running thread.
  DiscoveryScanner(SlotList& slotList, DiscoverySink& sink, DiscoveryScannerOptions options = {});
  ~DiscoveryScanner();  // stops the thread
  DiscoveryScanner(const DiscoveryScanner&) = delete;
  DiscoveryScanner& operator=(const DiscoveryScanner&) = delete;

  // Starts the thread; false when it is already running. Start and Stop belong to the owner's
  // thread.
  bool Start();
  // Sets the stop event and waits up to `bound` for the thread to end. The thread is never killed:
  // when it has not ended within the bound (a sink call that ignores the stop signal), that is
  // logged and the wait goes on until it ends. True when it ended within the bound (or was not
  // running).
  bool Stop(std::chrono::milliseconds bound = kStopBound);
  bool IsRunning() const { return thread_.joinable(); }

  // Runs a pass now. Call it after adding a backend to HidBackends while the scanner runs, since
  // the registry itself gives no notice. Any thread.
  void Wake() { wake_.Set(); }

  // Set from Stop until the next Start; its Fd() can be polled (see DiscoverySink).
  const StopEvent& StopSignal() const { return stop_; }

 private:
  void Run();
  // Discards the notices that led to this pass; done before looking, so none made later is lost.
  void ClearNotices();
  // Step 1; false when some interface could not be looked at and a retry is due.
  bool BindArrivals();
  // Step 3.
  void DropVanished();
  // Sleeps until a notice, the stop event, or the rescan time. False when stopping.
  bool WaitForChange(bool retryDue);

  SlotList& slots_;
  DiscoverySink& sink_;
  DiscoveryScannerOptions options_;
  StopEvent stop_;
  StopEvent wake_;
  StopEvent finished_;
  std::thread thread_;
};

}  // namespace vorlin
