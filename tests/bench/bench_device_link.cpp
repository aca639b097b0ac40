// Command exchanges per second over the virtual bus: a whole Transact (write, reply, two-read
// rule, report log check) and a chunked 95-byte parameter write in both connection modes.

#include <benchmark/benchmark.h>

#include "hid/device_link.h"
#include "hid/hid_backend.h"
#include "support/scripted_interface.h"

namespace vorlin {
namespace {

struct LinkOnBus {
  LinkOnBus() {
    HidBackends::Add(bus);
    device = std::make_shared<test::ScriptedInterface>(*bus);
    VirtualInterfaceSpec spec{0x320F, 0x225E, 0x0100, 1, 4, test::CommandCollectionDescriptor()};
    const std::string node = bus->Attach(spec, device);
    link.WiredInterface().Open(test::PathOfNode(node), true, true, true, false);
    link.ReceiverInterface().Open(test::PathOfNode(node), true, true, true, false);
    link.open = true;
  }
  ~LinkOnBus() { HidBackends::Remove(bus); }

  std::shared_ptr<VirtualHidBus> bus = std::make_shared<VirtualHidBus>();
  std::shared_ptr<test::ScriptedInterface> device;
  DeviceLink link;
};

void BM_TransactRoundTrip(benchmark::State& state) {
  LinkOnBus setup;
  setup.link.SetConnectionMode(static_cast<int>(state.range(0)));
  const CommandReport request = MakeCommandReport(kCmdBeginConfig, 0, 0);
  CommandReport reply{};
  size_t received = 0;
  for (auto _ : state) {
    if (setup.link.Transact(request, reply, received) != kLinkOk) state.SkipWithError("exchange failed");
    setup.bus->ClearTrace();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TransactRoundTrip)->Arg(1)->Arg(2)->ArgName("mode")->UseRealTime();

void BM_WriteParams95Bytes(benchmark::State& state) {
  LinkOnBus setup;
  setup.link.SetConnectionMode(static_cast<int>(state.range(0)));
  std::vector<uint8_t> record(95, 0x5A);
  for (auto _ : state) {
    if (setup.link.WriteParams(record, 0x80) != kLinkOk) state.SkipWithError("write failed");
    setup.bus->ClearTrace();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WriteParams95Bytes)->Arg(1)->Arg(2)->ArgName("mode")->UseRealTime();

}  // namespace
}  // namespace vorlin
