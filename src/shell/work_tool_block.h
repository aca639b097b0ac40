#pragma once

#include <cstdint>
#include <span>

#include <QByteArray>

namespace vorlin {

// One device option row as the factory test tool sees it.
struct WorkToolRow {
  uint32_t vendor_id = 0;
  uint32_t product_id = 0;
  uint32_t kind = 0;
};

// The answer to the factory test tool: 1024 bytes of little-endian 32-bit values. Values 0-3 are
// the bytes 2, 3, 0, 2 of the tool interface's fixed four-part number, value 4 the row count, then
// vendor id, product id and kind per row; the rest is zero. Rows that would not fit are left out
// (the count says how many are present).
inline constexpr int kWorkToolBlockBytes = 1024;
QByteArray BuildWorkToolBlock(std::span<const WorkToolRow> rows);

}  // namespace vorlin
