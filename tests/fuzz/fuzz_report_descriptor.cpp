// Report descriptors come from whatever device is plugged in. Input: a 2-byte little-endian
// descriptor length, the descriptor, then one report that is decoded through every collection.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "decode_all_caps.h"
#include "hid/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorlin;
  if (size < 2) return 0;
  const size_t declared = data[0] | (size_t{data[1]} << 8);
  const size_t length = std::min(declared, size - 2);
  const std::span<const uint8_t> descriptor(data + 2, length);
  const std::span<const uint8_t> report(data + 2 + length, size - 2 - length);

  ParsedDescriptor parsed;
  if (!ParseReportDescriptor(descriptor, parsed)) {
    fuzz::Check(parsed.collections.empty());
    return 0;
  }
  for (const TopLevelCollection& c : parsed.collections) fuzz::DecodeAllCaps(c, report);
  return 0;
}
