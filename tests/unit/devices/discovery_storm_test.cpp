// Discovery, the command links and the event readers together under a storm of plugging and
// unplugging, with the devices sending events all the while: every thread (scanner, readers,
// emulator) must stay free of data races (this test also runs under ThreadSanitizer), nothing may
// hang, and every reader must be gone at the end. The sink does on the scanner's thread what the
// main window does on its own: open the command and event interfaces of a bound slot, close them
// when the slot is lost.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "devices/event_interface.h"
#include "hid/device_link.h"
#include "hid/discovery_scanner.h"
#include "hid/hid_backend.h"
#include "hid/slot_list.h"
#include "sim/device_emulator.h"
#include "sim/emulated_device.h"
#include "sim/emulated_peripheral.h"
#include "support/interface_rows.h"

namespace vorlin {
namespace {

using namespace std::chrono_literals;

class BindingSink : public DiscoverySink {
 public:
  explicit BindingSink(const SlotList& slots) : slots_(slots) {
    for (auto& events : events_) events = std::make_unique<EventInterface>("storm reader ended", 500ms);
  }

  void InterfaceArrived(size_t slot) override {
    const InterfaceEntry& entry = slots_[slot];
    if (entry.role == kRoleEvent) {
      events_[slot]->Open(entry.path, [this](uint16_t, std::span<const uint8_t>) { ++events_seen; });
      return;
    }
    std::lock_guard lock(links_[slot].TransferLock());
    if (links_[slot].WiredInterface().Open(entry.path, true, true, true, false)) {
      links_[slot].open.store(true);
      // A command right away, as the device's start-up does; it may meet the unplug.
      links_[slot].SetConnectionMode(1);
    }
    ++arrivals;
  }
  void InterfaceLost(size_t slot) override {
    const InterfaceEntry& entry = slots_[slot];
    if (entry.role == kRoleEvent) {
      events_[slot]->Close();
      return;
    }
    std::lock_guard lock(links_[slot].TransferLock());
    links_[slot].open.store(false);
    links_[slot].WiredInterface().Close();
    ++losses;
  }
  void FirstPassDone() override {}

  void CloseAll() {
    for (auto& events : events_) events->Close();
  }
  bool AnyEventInterfaceOpen() const {
    for (const auto& events : events_)
      if (events->IsOpen()) return true;
    return false;
  }

  std::atomic<int> arrivals{0};
  std::atomic<int> losses{0};
  std::atomic<int> events_seen{0};

 private:
  const SlotList& slots_;
  std::array<std::unique_ptr<EventInterface>, 11> events_;
  std::array<DeviceLink, 11> links_;
};

TEST(DiscoveryStormTest, FiveHundredPlugCyclesWithEventsInFlight) {
  DeviceEmulator emulator;
  HidBackends::Add(emulator.Bus());
  emulator.UnplugAll();
  SlotList slots(testing::TestInterfaceRows());
  BindingSink sink(slots);
  DiscoveryScannerOptions options;
  options.rescanInterval = 20ms;
  DiscoveryScanner scanner(slots, sink, std::move(options));
  ASSERT_TRUE(scanner.Start());

  std::atomic<bool> done{false};
  std::thread clicker([&] {
    while (!done.load()) {
      emulator.Mouse().Click();
      emulator.MousePad().RequestResync();
      std::this_thread::sleep_for(1ms);
    }
  });

  for (int cycle = 0; cycle < 500; ++cycle) {
    for (EmulatedPeripheral* product : emulator.All()) product->Cable().Plug();
    emulator.Mouse().Receiver()->Plug();
    std::this_thread::sleep_for(cycle % 20 == 0 ? 20ms : 1ms);
    emulator.UnplugAll();
    if (cycle % 9 == 0) std::this_thread::sleep_for(5ms);
  }
  done = true;
  clicker.join();

  // The scanner catches up: every binding it made is undone.
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while ((sink.arrivals.load() != sink.losses.load() || sink.AnyEventInterfaceOpen()) &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_TRUE(scanner.Stop());
  EXPECT_GT(sink.arrivals.load(), 0);
  EXPECT_EQ(sink.arrivals.load(), sink.losses.load());
  EXPECT_FALSE(sink.AnyEventInterfaceOpen());
  sink.CloseAll();
  HidBackends::Remove(emulator.Bus());
}

}  // namespace
}  // namespace vorlin
