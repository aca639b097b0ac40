// Parsing runs on every open of an interface and decoding on every input report; both should stay
// far below a millisecond.

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "hid/report_descriptor.h"

namespace {

using namespace vorlin;

std::vector<uint8_t> Fixture(const std::string& name) {
  std::ifstream in(std::string(VORLIN_SOURCE_DIR) + "/tests/fixtures/hid-descriptors/" + name);
  std::vector<uint8_t> bytes;
  std::string token;
  while (in >> token) bytes.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
  return bytes;
}

const char* const kFixtures[] = {
    "mouse-3button.hex",               // 55 bytes, one collection
    "keyboard-ms-comfort-sculpt.hex",  // a keyboard
    "touch-surface-book2.hex",         // eleven collections
    "tablet-wacom-pth660.hex",         // a large recorded descriptor
    "edge-report-count-12288.hex",     // the largest report count
};

void BM_ParseDescriptor(benchmark::State& state) {
  const std::vector<uint8_t> bytes = Fixture(kFixtures[state.range(0)]);
  state.SetLabel(kFixtures[state.range(0)]);
  for (auto _ : state) {
    ParsedDescriptor parsed;
    const bool ok = ParseReportDescriptor(bytes, parsed);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(parsed.collections.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseDescriptor)->DenseRange(0, std::size(kFixtures) - 1);

// What an event reader does with each report of a receiver: the usages of every button cap and
// every value of the collection.
void BM_DecodeInputReport(benchmark::State& state) {
  ParsedDescriptor parsed;
  ParseReportDescriptor(Fixture("mouse-xiaomi-mi-dongle.hex"), parsed);
  const TopLevelCollection& mouse = parsed.collections.at(0);
  const std::vector<ButtonCap> buttons = mouse.ButtonCaps(ReportKind::Input);
  const std::vector<ValueCap> values = mouse.ValueCaps(ReportKind::Input);
  const std::vector<uint8_t> report = {0x01, 0x05, 0x81, 0x01};
  std::vector<uint16_t> usages;
  for (auto _ : state) {
    for (const ButtonCap& cap : buttons) {
      if (cap.reportId != report[0]) continue;
      GetUsages(mouse, ReportKind::Input, cap.usagePage, report, 16, usages);
      benchmark::DoNotOptimize(usages.data());
    }
    for (const ValueCap& cap : values) {
      if (cap.reportId != report[0]) continue;
      uint32_t raw = 0;
      int32_t scaled = 0;
      GetUsageValue(mouse, ReportKind::Input, cap.usagePage, cap.usageMin, report, raw);
      GetScaledUsageValue(mouse, ReportKind::Input, cap.usagePage, cap.usageMin, report, scaled);
      benchmark::DoNotOptimize(raw);
      benchmark::DoNotOptimize(scaled);
    }
  }
}
BENCHMARK(BM_DecodeInputReport);

}  // namespace
