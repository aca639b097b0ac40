// Discovery against interfaces on the virtual bus: the slot list on its own, then the scanning
// thread finding, binding and losing interfaces that present the emulated devices' descriptors.

#include "hid/discovery_scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "hid/hid_backend.h"
#include "hid/hid_device.h"
#include "hid/virtual_bus.h"
#include "sim/report_descriptors.h"
#include "support/interface_rows.h"
#include "support/scripted_interface.h"

namespace vorlin {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::TestInterfaceRows;

// ---------------------------------------------------------------------------------------------
// Slot list

TEST(SlotListTest, StartsAsAFreeCopyOfItsRows) {
  const SlotList slotList(TestInterfaceRows());
  ASSERT_EQ(slotList.size(), TestInterfaceRows().size());
  for (size_t i = 0; i < slotList.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(SameDeviceKey(slotList[i], TestInterfaceRows()[i]));
    EXPECT_TRUE(slotList.IsFree(i));
  }
  EXPECT_TRUE(slotList.HasFreeSlot());
  EXPECT_TRUE(slotList.BoundSlots().empty());
  EXPECT_FALSE(slotList.IsFree(slotList.size()));
}

struct BindCase {
  const char* name;
  PathNumbers numbers;
  uint16_t usagePage;
  uint16_t usage;
  bool wanted;                 // worth a probe before knowing the usage
  std::optional<size_t> slot;  // where it binds
};

TEST(SlotListTest, BindsTheFirstFreeSlotOfAllSixNumbers) {
  const BindCase cases[] = {
      {"mouse command", {0x320F, 0x225E, 1, 4}, 0xFF1C, 0x92, true, 4},
      {"mouse events", {0x320F, 0x225E, 1, 3}, 0x0C, 0x01, true, 5},
      {"receiver command", {0x320F, 0x225F, 1, 4}, 0xFF1C, 0x92, true, 6},
      {"receiver events", {0x320F, 0x225F, 1, 3}, 0x0C, 0x01, true, 7},
      {"pad command", {0x320F, 0x1004, 1, 4}, 0xFF1C, 0x92, true, 8},
      {"headset, no collection", {0x0C76, 0x1630, 3, 0}, 0x0C, 0x01, true, 10},
      {"mouse col 4 with the event usage", {0x320F, 0x225E, 1, 4}, 0x0C, 0x01, true, {}},
      {"mouse col 4, other vendor usage", {0x320F, 0x225E, 1, 4}, 0xFF1C, 0x93, true, {}},
      {"mouse col 4, other vendor page", {0x320F, 0x225E, 1, 4}, 0xFF00, 0x92, true, {}},
      {"mouse interface 0", {0x320F, 0x225E, 0, 0}, 0x01, 0x02, false, {}},
      {"mouse col 2", {0x320F, 0x225E, 1, 2}, 0x01, 0x80, false, {}},
      {"headset with a collection", {0x0C76, 0x1630, 3, 1}, 0x0C, 0x01, false, {}},
      {"unknown product", {0x320F, 0x2260, 1, 4}, 0xFF1C, 0x92, false, {}},
  };
  for (const BindCase& c : cases) {
    SCOPED_TRACE(c.name);
    SlotList slotList(TestInterfaceRows());
    EXPECT_EQ(slotList.WantsPath(c.numbers), c.wanted);
    const std::string path = "virtual:n?tags";
    EXPECT_EQ(slotList.Bind(c.numbers, c.usagePage, c.usage, path), c.slot);
    for (size_t i = 0; i < slotList.size(); ++i) {
      const bool isBound = c.slot && *c.slot == i;
      EXPECT_EQ(slotList[i].bound, isBound ? 1 : 0) << "slot " << i;
      EXPECT_EQ(slotList[i].path, isBound ? path : "") << "slot " << i;
    }
  }
}

TEST(SlotListTest, ABoundSlotIsOfferedAgainOnlyAfterUnbinding) {
  SlotList slotList(TestInterfaceRows());
  const PathNumbers mouseCommand{0x320F, 0x225E, 1, 4};
  ASSERT_EQ(slotList.Bind(mouseCommand, 0xFF1C, 0x92, "virtual:a?x"), 4u);

  // A second mouse on the same slot numbers has nowhere to go.
  EXPECT_FALSE(slotList.WantsPath(mouseCommand));
  EXPECT_EQ(slotList.Bind(mouseCommand, 0xFF1C, 0x92, "virtual:b?x"), std::nullopt);
  EXPECT_EQ(slotList[4].path, "virtual:a?x");
  EXPECT_EQ(slotList.BoundSlots(), std::vector<size_t>{4});

  slotList.Unbind(slotList.size());  // out of range: nothing happens
  EXPECT_EQ(slotList.BoundSlots(), std::vector<size_t>{4});

  slotList.Unbind(4);
  EXPECT_TRUE(slotList.IsFree(4));
  EXPECT_TRUE(slotList[4].path.empty());
  EXPECT_TRUE(slotList.WantsPath(mouseCommand));
  EXPECT_EQ(slotList.Bind(mouseCommand, 0xFF1C, 0x92, "virtual:b?x"), 4u);
  EXPECT_EQ(slotList[4].path, "virtual:b?x");
}

// The keyboard's cable and receiver rows carry the same numbers; one interface must not end up
// in both (the window would see one device arrive twice).
TEST(SlotListTest, AnInterfaceIsBoundToOneSlotOnly) {
  SlotList slotList(TestInterfaceRows());
  const PathNumbers keyboardCommand{0, 0, 1, 4};
  ASSERT_EQ(slotList.Bind(keyboardCommand, 0xFF1C, 0x92, "virtual:k?x"), 0u);
  EXPECT_TRUE(slotList.HoldsPath("virtual:k?x"));
  EXPECT_TRUE(slotList.WantsPath(keyboardCommand));  // the receiver's row is still free
  EXPECT_EQ(slotList.Bind(keyboardCommand, 0xFF1C, 0x92, "virtual:k?x"), std::nullopt);
  EXPECT_EQ(slotList.Bind(keyboardCommand, 0xFF1C, 0x92, "virtual:r?x"), 2u);
  slotList.Unbind(0);
  EXPECT_FALSE(slotList.HoldsPath("virtual:k?x"));
}

TEST(SlotListTest, NoFreeSlotOnceEveryRowIsBound) {
  SlotList slotList(TestInterfaceRows());
  for (size_t i = 0; i < TestInterfaceRows().size(); ++i) {
    const InterfaceEntry& row = TestInterfaceRows()[i];
    // Rows that share all six numbers (the keyboard by cable and by receiver) bind in table order.
    ASSERT_EQ(
        slotList.Bind({row.vendorId, row.productId, row.interfaceNumber, row.collectionNumber},
                      row.usagePage, row.usage, "p" + std::to_string(i)),
        i);
  }
  EXPECT_FALSE(slotList.HasFreeSlot());
  EXPECT_EQ(slotList.BoundSlots().size(), TestInterfaceRows().size());
}

// ---------------------------------------------------------------------------------------------
// Scanner

enum class Call { Arrived, Lost, FirstPass };

struct SinkEvent {
  Call call = Call::FirstPass;
  size_t slot = 0;
  // The slot as the sink saw it during the call.
  bool bound = false;
  std::string path;
};

// Records every call, with the slot as it looks inside the call, and lets the test wait for calls.
class RecordingSink : public DiscoverySink {
 public:
  explicit RecordingSink(const SlotList& slotList) : slots_(slotList) {}

  // Runs inside a call (on the scanner's thread) after it was recorded. Set before the start.
  std::function<void(const SinkEvent&)> onCall;

  void InterfaceArrived(size_t slot) override { Record(Call::Arrived, slot); }
  void InterfaceLost(size_t slot) override { Record(Call::Lost, slot); }
  void FirstPassDone() override { Record(Call::FirstPass, 0); }

  size_t Count(Call call, std::optional<size_t> slot = {}) const {
    std::lock_guard lock(mutex_);
    return CountLocked(call, slot);
  }
  // Waits until the call has been made at least `times` times.
  bool WaitFor(Call call, std::optional<size_t> slot = {}, size_t times = 1) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, 5s, [&] { return CountLocked(call, slot) >= times; });
  }
  std::vector<SinkEvent> Events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  void Record(Call call, size_t slot) {
    SinkEvent e;
    e.call = call;
    e.slot = slot;
    if (call != Call::FirstPass) {
      e.bound = slots_[slot].bound != 0;
      e.path = slots_[slot].path;
    }
    {
      std::lock_guard lock(mutex_);
      events_.push_back(e);
    }
    changed_.notify_all();
    if (onCall) onCall(e);
  }
  size_t CountLocked(Call call, std::optional<size_t> slot) const {
    return std::count_if(events_.begin(), events_.end(), [&](const SinkEvent& e) {
      return e.call == call && (!slot || e.slot == *slot);
    });
  }

  const SlotList& slots_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<SinkEvent> events_;
};

// A backend in front of a virtual bus that behaves like the hidraw subsystem in two ways the
// scanner depends on: it announces every attach and detach through ChangeFd, and it names nodes by
// the lowest free number, so a number is reused once its device is gone.
class HidrawLikeBus : public HidBackend {
 public:
  std::string Attach(const VirtualInterfaceSpec& spec) {
    std::string name;
    {
      std::lock_guard lock(mutex_);
      int n = 0;
      while (nodes_.count(std::to_string(n))) ++n;
      name = std::to_string(n);
      nodes_[name] = bus_.Attach(spec, nullptr);
    }
    changed_.Set();
    return name;
  }
  void Detach(const std::string& name) {
    {
      std::lock_guard lock(mutex_);
      const auto it = nodes_.find(name);
      if (it == nodes_.end()) return;
      bus_.Detach(it->second);
      nodes_.erase(it);
    }
    changed_.Set();
  }
  // Another device takes the node number in one step: unplug and plug in faster than a scan.
  void Replace(const std::string& name, const VirtualInterfaceSpec& spec) {
    {
      std::lock_guard lock(mutex_);
      bus_.Detach(nodes_.at(name));
      nodes_[name] = bus_.Attach(spec, nullptr);
    }
    changed_.Set();
  }

  std::string_view Scheme() const override { return "hidrawlike"; }
  bool ListNodes(std::vector<HidNodeInfo>& nodes) override {
    std::lock_guard lock(mutex_);
    nodes.clear();
    for (const auto& [name, inner] : nodes_) {
      HidNodeInfo info;
      if (!bus_.QueryNode(inner, info)) continue;
      info.node = name;
      nodes.push_back(std::move(info));
    }
    return true;
  }
  bool QueryNode(std::string_view node, HidNodeInfo& info) override {
    const auto inner = Inner(node);
    if (!inner || !bus_.QueryNode(*inner, info)) return false;
    info.node = std::string(node);
    return true;
  }
  std::unique_ptr<HidChannel> OpenNode(std::string_view node, bool forRead, bool forWrite,
                                       bool exclusive) override {
    const auto inner = Inner(node);
    return inner ? bus_.OpenNode(*inner, forRead, forWrite, exclusive) : nullptr;
  }
  bool NodePresent(std::string_view node) override {
    const auto inner = Inner(node);
    return inner && bus_.NodePresent(*inner);
  }
  int ChangeFd() override { return changed_.Fd(); }
  void ClearChange() override { changed_.Reset(); }

 private:
  std::optional<std::string> Inner(std::string_view node) const {
    std::lock_guard lock(mutex_);
    const auto it = nodes_.find(std::string(node));
    if (it == nodes_.end()) return std::nullopt;
    return it->second;
  }

  VirtualHidBus bus_;
  mutable std::mutex mutex_;
  std::map<std::string, std::string> nodes_;  // our node name -> the bus's node name
  StopEvent changed_;                         // set on every change, cleared by the scanner
};

VirtualInterfaceSpec MouseInterface1() {
  return {0x320F, 0x225E, 0x0108, 1, -1, VendorInterfaceDescriptor()};
}
VirtualInterfaceSpec MouseInterface0() {
  return {0x320F, 0x225E, 0x0108, 0, -1, BootMouseDescriptor()};
}
VirtualInterfaceSpec HeadsetInterface() {
  return {0x0C76, 0x1630, 0x0100, 3, -1, HeadsetDescriptor()};
}
// Carries the mouse command interface's numbers (interface 1, collection 4) in its path, but is a
// boot mouse collection.
VirtualInterfaceSpec ImpostorCommandInterface() {
  return {0x320F, 0x225E, 0x0108, 1, 4, BootMouseDescriptor()};
}

// How the scanner learns about changes in the tests' bus.
enum class Notice {
  Timer,     // the plain virtual bus gives no notice: only the short rescan timer finds changes
  ChangeFd,  // the hidraw-like bus announces changes; the rescan timer is far too long to help
};

std::string NoticeName(const ::testing::TestParamInfo<Notice>& info) {
  return info.param == Notice::Timer ? "Timer" : "ChangeFd";
}

class DiscoveryScannerTest : public ::testing::TestWithParam<Notice> {
 protected:
  void SetUp() override {
    if (GetParam() == Notice::Timer)
      HidBackends::Add(bus_);
    else
      HidBackends::Add(hidrawLike_);
  }
  void TearDown() override {
    scanner_.reset();
    HidBackends::Remove(bus_);
    HidBackends::Remove(hidrawLike_);
  }

  std::chrono::milliseconds DefaultRescan() const {
    return GetParam() == Notice::Timer ? 20ms : std::chrono::milliseconds(1h);
  }

  void Start(std::optional<std::chrono::milliseconds> rescan = {}) {
    DiscoveryScannerOptions options;
    options.rescanInterval = rescan.value_or(DefaultRescan());
    scanner_ = std::make_unique<DiscoveryScanner>(slots_, sink_, std::move(options));
    ASSERT_TRUE(scanner_->Start());
  }

  std::string Attach(const VirtualInterfaceSpec& spec) {
    return GetParam() == Notice::Timer ? bus_->Attach(spec, nullptr) : hidrawLike_->Attach(spec);
  }
  void Detach(const std::string& node) {
    if (GetParam() == Notice::Timer)
      bus_->Detach(node);
    else
      hidrawLike_->Detach(node);
  }

  // Stops the scanner, after which the slot list may be read from the test's thread.
  void Stop() { ASSERT_TRUE(scanner_->Stop()); }

  std::shared_ptr<VirtualHidBus> bus_ = std::make_shared<VirtualHidBus>();
  std::shared_ptr<HidrawLikeBus> hidrawLike_ = std::make_shared<HidrawLikeBus>();
  SlotList slots_{TestInterfaceRows()};
  RecordingSink sink_{slots_};
  std::unique_ptr<DiscoveryScanner> scanner_;
};

TEST_P(DiscoveryScannerTest, MouseBindsItsCommandAndEventSlotsAndLosesThemOnUnplug) {
  Attach(MouseInterface0());
  const std::string node = Attach(MouseInterface1());
  Start();
  ASSERT_TRUE(sink_.WaitFor(Call::Arrived, 4));
  ASSERT_TRUE(sink_.WaitFor(Call::Arrived, 5));

  Detach(node);
  ASSERT_TRUE(sink_.WaitFor(Call::Lost, 4));
  ASSERT_TRUE(sink_.WaitFor(Call::Lost, 5));
  Stop();

  const auto events = sink_.Events();
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(sink_.Count(Call::FirstPass), 1u);
  std::map<size_t, std::string> arrivedPath;
  for (const SinkEvent& e : events) {
    if (e.call == Call::Arrived) {
      EXPECT_TRUE(e.bound) << "slot " << e.slot;
      arrivedPath[e.slot] = e.path;
    } else if (e.call == Call::Lost) {
      EXPECT_FALSE(e.bound) << "slot " << e.slot;
      EXPECT_EQ(e.path, "") << "slot " << e.slot;
    }
  }
  ASSERT_EQ(arrivedPath.size(), 2u);
  EXPECT_NE(arrivedPath[4].find("vid_320f&pid_225e&mi_01&col04"), std::string::npos)
      << arrivedPath[4];
  EXPECT_NE(arrivedPath[5].find("vid_320f&pid_225e&mi_01&col03"), std::string::npos)
      << arrivedPath[5];
  EXPECT_TRUE(slots_.BoundSlots().empty());
}

TEST_P(DiscoveryScannerTest, FirstPassIsAnnouncedOnceEvenWithNothingAttached) {
  Start();
  ASSERT_TRUE(sink_.WaitFor(Call::FirstPass));

  // Later passes, driven by a headset coming and going, do not announce it again.
  const std::string node = Attach(HeadsetInterface());
  ASSERT_TRUE(sink_.WaitFor(Call::Arrived, 10));
  Detach(node);
  ASSERT_TRUE(sink_.WaitFor(Call::Lost, 10));
  Stop();

  const auto events = sink_.Events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].call, Call::FirstPass);
  EXPECT_EQ(events[1].call, Call::Arrived);
  // The headset's path has no collection tag, and it still binds its collection-0 slot.
  EXPECT_NE(events[1].path.find("vid_0c76&pid_1630&mi_03"), std::string::npos) << events[1].path;
  EXPECT_EQ(events[1].path.find("&col"), std::string::npos) << events[1].path;
  EXPECT_EQ(events[2].call, Call::Lost);
}

TEST_P(DiscoveryScannerTest, InterfaceWithAnotherUsageIsNotBound) {
  // Attached before the headset, so every pass that sees the headset has probed it too.
  Attach(ImpostorCommandInterface());
  Attach(HeadsetInterface());
  Start();
  ASSERT_TRUE(sink_.WaitFor(Call::Arrived, 10));
  Stop();

  EXPECT_EQ(sink_.Count(Call::Arrived), 1u);
  EXPECT_EQ(slots_.BoundSlots(), std::vector<size_t>{10});
}

TEST_P(DiscoveryScannerTest, StopEndsTheSleepingThreadAtOnce) {
  Start(1h);
  ASSERT_TRUE(sink_.WaitFor(Call::FirstPass));
  const auto begin = Clock::now();
  EXPECT_TRUE(scanner_->Stop());
  EXPECT_LT(Clock::now() - begin, 500ms);
  EXPECT_FALSE(scanner_->IsRunning());
}

INSTANTIATE_TEST_SUITE_P(Notices, DiscoveryScannerTest,
                         ::testing::Values(Notice::Timer, Notice::ChangeFd), NoticeName);

// The scanner against the hidraw-like bus only: what the change notice alone cannot tell it.
class DiscoveryScannerNoticeTest : public ::testing::Test {
 protected:
  void SetUp() override { HidBackends::Add(bus_); }
  void TearDown() override {
    scanner_.reset();
    HidBackends::Remove(bus_);
  }
  void Start(std::chrono::milliseconds rescan) {
    DiscoveryScannerOptions options;
    options.rescanInterval = rescan;
    scanner_ = std::make_unique<DiscoveryScanner>(slots_, sink_, std::move(options));
    ASSERT_TRUE(scanner_->Start());
  }

  std::shared_ptr<HidrawLikeBus> bus_ = std::make_shared<HidrawLikeBus>();
  SlotList slots_{TestInterfaceRows()};
  RecordingSink sink_{slots_};
  std::unique_ptr<DiscoveryScanner> scanner_;
};

TEST_F(DiscoveryScannerNoticeTest, ReusedNodeNumberOfAnotherDeviceCountsAsUnplugged) {
  const std::string node = bus_->Attach(MouseInterface1());
  Start(1h);
  ASSERT_TRUE(sink_.WaitFor(Call::Arrived, 4));
  ASSERT_TRUE(sink_.WaitFor(Call::Arrived, 5));

  bus_->Replace(node, HeadsetInterface());
  ASSERT_TRUE(sink_.WaitFor(Call::Lost, 4));
  ASSERT_TRUE(sink_.WaitFor(Call::Lost, 5));
  ASSERT_TRUE(sink_.WaitFor(Call::Arrived, 10));
  ASSERT_TRUE(scanner_->Stop());

  EXPECT_EQ(slots_.BoundSlots(), std::vector<size_t>{10});
  EXPECT_EQ(slots_[10].path.find("hidrawlike:" + node + "?"), 0u) << slots_[10].path;
  EXPECT_EQ(sink_.Events().size(), 6u);  // first pass, 2 arrivals, 2 losses, 1 arrival
}

TEST_F(DiscoveryScannerNoticeTest, InterfaceHeldByAnotherProgramIsProbedAgainLater) {
  const std::string node = bus_->Attach(HeadsetInterface());
  HidDevice holder;
  ASSERT_TRUE(holder.Open(test::PathOfNode(node), true, true, true, /*exclusive=*/true));
  Start(50ms);
  ASSERT_TRUE(sink_.WaitFor(Call::FirstPass));
  // The first pass came after the failed probe.
  EXPECT_EQ(sink_.Count(Call::Arrived), 0u);

  // Letting go makes no bus change: only the retry finds it.
  holder.Close();
  ASSERT_TRUE(sink_.WaitFor(Call::Arrived, 10));
  ASSERT_TRUE(scanner_->Stop());
}

TEST_F(DiscoveryScannerNoticeTest, StopWhileTheSinkWaitsForItsOwnerEndsWithoutFurtherCalls) {
  bus_->Attach(MouseInterface1());
  // Like a main window whose UI thread is busy stopping the scanner: the call can only give up
  // when the stop signal comes.
  StopEvent entered;
  sink_.onCall = [&](const SinkEvent& e) {
    if (e.call != Call::Arrived) return;
    entered.Set();
    scanner_->StopSignal().Wait(-1);
  };
  Start(1h);
  ASSERT_TRUE(entered.Wait(5000));

  const auto begin = Clock::now();
  EXPECT_TRUE(scanner_->Stop());
  EXPECT_LT(Clock::now() - begin, 500ms);
  // Nothing after the interrupted call: not the mouse's second slot, not the first-pass notice.
  ASSERT_EQ(sink_.Events().size(), 1u);
  EXPECT_EQ(sink_.Events()[0].call, Call::Arrived);
}

TEST_F(DiscoveryScannerNoticeTest, RestartAnnouncesTheFirstPassAgainAndKeepsBoundSlots) {
  const std::string node = bus_->Attach(HeadsetInterface());
  Start(1h);
  ASSERT_TRUE(sink_.WaitFor(Call::FirstPass));
  ASSERT_TRUE(scanner_->Stop());
  ASSERT_EQ(sink_.Count(Call::Arrived, 10), 1u);

  ASSERT_TRUE(scanner_->Start());
  ASSERT_TRUE(sink_.WaitFor(Call::FirstPass, {}, 2));
  bus_->Detach(node);
  ASSERT_TRUE(sink_.WaitFor(Call::Lost, 10));
  ASSERT_TRUE(scanner_->Stop());
  EXPECT_EQ(sink_.Count(Call::Arrived, 10), 1u);  // still bound across the restart: no re-arrival
}

}  // namespace
}  // namespace vorlin
