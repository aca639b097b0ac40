#include "hid/discovery_scanner.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "hid/hid_backend.h"
#include "hid/hid_device.h"
#include "hid/interface_path.h"
#include "platform/log.h"

namespace vorlin {

namespace {

// udevd's control socket: present while the daemon runs. Without the daemon a udev monitor
// opens fine but never reports anything.
constexpr const char* kUdevControl = "/run/udev/control";

// Whether the node behind a bound path is still the interface that was bound. A present node is
// not enough: hidraw numbers are handed out again, so after a quick unplug and replug of another
// device the same node name can stand for a different one.
bool StillPresent(const std::string& path) {
  const auto backend = HidBackends::ForPath(path);
  InterfacePathParts parts;
  if (!backend || !SplitInterfacePath(path, parts)) return false;
  if (!backend->NodePresent(parts.node)) return false;
  HidNodeInfo info;
  if (!backend->QueryNode(parts.node, info)) return false;
  const auto interfaceNumber =
      static_cast<uint16_t>(info.interfaceNumber < 0 ? 0 : info.interfaceNumber);
  return info.vendorId == static_cast<uint16_t>(ParseHexTag(path, "vid_")) &&
         info.productId == static_cast<uint16_t>(ParseHexTag(path, "pid_")) &&
         interfaceNumber == static_cast<uint16_t>(ParseHexTag(path, "&mi_"));
}

}  // namespace

DiscoveryScannerOptions DiscoveryScannerOptions::ForThisSystem() {
  DiscoveryScannerOptions options;
  if (::access(kUdevControl, F_OK) == 0) options.hotplug = HidrawHotplugMonitor::Create();
  return options;
}

DiscoveryScanner::DiscoveryScanner(SlotList& slotList, DiscoverySink& sink,
                                   DiscoveryScannerOptions options)
    : slots_(slotList), sink_(sink), options_(std::move(options)) {}

DiscoveryScanner::~DiscoveryScanner() {
  Stop();
}

bool DiscoveryScanner::Start() {
  if (thread_.joinable()) return false;
  // Reset here rather than in the thread: a Stop right after Start must not be lost.
  stop_.Reset();
  wake_.Reset();
  finished_.Reset();
  thread_ = std::thread([this] { Run(); });
  return true;
}

bool DiscoveryScanner::Stop(std::chrono::milliseconds bound) {
  if (!thread_.joinable()) return true;
  stop_.Set();
  const bool inTime = finished_.Wait(static_cast<int>(bound.count()));
  if (!inTime)
    qCWarning(lcVorlin).noquote() << "discovery scanner still busy after" << bound.count()
                                  << "ms, waiting for it to end";
  thread_.join();
  return inTime;
}

void DiscoveryScanner::Run() {
  bool firstPass = true;
  for (;;) {
    if (stop_.IsSet()) break;
    ClearNotices();
    bool retryDue = false;
    if (slots_.HasFreeSlot()) retryDue = !BindArrivals();
    if (firstPass && !stop_.IsSet()) {
      firstPass = false;
      sink_.FirstPassDone();
    }
    DropVanished();
    if (!WaitForChange(retryDue)) break;
  }
  qCDebug(lcVorlin) << "device discovery ends";
  finished_.Set();
}

void DiscoveryScanner::ClearNotices() {
  wake_.Reset();
  if (options_.hotplug) options_.hotplug->Drain();
  for (const auto& backend : HidBackends::All())
    if (backend->ChangeFd() >= 0) backend->ClearChange();
}

bool DiscoveryScanner::BindArrivals() {
  HidDevice probe;
  if (!probe.EnumerateInterfaces()) {
    qCWarning(lcVorlin) << "interface enumeration failed, retrying later";
    return false;
  }
  bool complete = true;
  while (const std::string* path = probe.NextInterfacePath()) {
    if (stop_.IsSet()) break;
    const PathNumbers numbers = ParsePathNumbers(*path);
    if (!slots_.WantsPath(numbers) || slots_.HoldsPath(*path)) continue;
    if (!probe.Open(*path, /*forRead=*/true, /*forWrite=*/false, /*overlapped=*/true,
                    /*exclusive=*/false)) {
      complete = false;  // gone already, or held by someone else: look again later
      continue;
    }
    const HidAttributes attributes = probe.Attributes();
    const HidCaps caps = probe.Caps();
    // Closed before the main window hears of the interface, so that no idle read channel of ours
    // is left on the node while the device object opens its own.
    probe.Close();
    const PathNumbers identity{attributes.VendorID, attributes.ProductID, numbers.interfaceNumber,
                               numbers.collectionNumber};
    if (const auto slot = slots_.Bind(identity, caps.UsagePage, caps.Usage, *path))
      sink_.InterfaceArrived(*slot);
  }
  probe.FreeInterfaceList();
  return complete;
}

void DiscoveryScanner::DropVanished() {
  for (const size_t slot : slots_.BoundSlots()) {
    if (stop_.IsSet()) return;
    if (StillPresent(slots_[slot].path)) continue;
    slots_.Unbind(slot);
    sink_.InterfaceLost(slot);
  }
}

bool DiscoveryScanner::WaitForChange(bool retryDue) {
  // Kept alive while polling, so that their change descriptors stay open.
  const auto backends = HidBackends::All();
  std::vector<pollfd> fds{{stop_.Fd(), POLLIN, 0}, {wake_.Fd(), POLLIN, 0}};
  if (options_.hotplug) fds.push_back({options_.hotplug->Fd(), POLLIN, 0});
  bool everyBackendNotifies = true;
  for (const auto& backend : backends) {
    const int fd = backend->ChangeFd();
    if (fd >= 0)
      fds.push_back({fd, POLLIN, 0});
    else if (!(options_.hotplug && backend->Scheme() == "hidraw"))
      everyBackendNotifies = false;
  }
  const int timeoutMs =
      everyBackendNotifies && !retryDue ? -1 : static_cast<int>(options_.rescanInterval.count());

  for (;;) {
    const int n = ::poll(fds.data(), fds.size(), timeoutMs);
    if (n >= 0) return (fds[0].revents & POLLIN) == 0;
    if (errno == EINTR) continue;  // a signal is no notice: sleep again
    qCWarning(lcVorlin) << "discovery scanner cannot wait, errno" << errno;
    return false;
  }
}

}  // namespace vorlin
