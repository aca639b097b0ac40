#include "shell/work_tool_block.h"

#include <algorithm>

#include <QtEndian>

namespace vorlin {

namespace {

constexpr uint32_t kFixedNumber[] = {2, 3, 0, 2};
constexpr int kValueCount = kWorkToolBlockBytes / 4;
constexpr int kHeaderValues = 5;
constexpr int kMaxRows = (kValueCount - kHeaderValues) / 3;

}  // namespace

QByteArray BuildWorkToolBlock(std::span<const WorkToolRow> rows) {
  QByteArray block(kWorkToolBlockBytes, '\0');
  char* out = block.data();
  auto put = [out](int index, uint32_t value) { qToLittleEndian(value, out + 4 * index); };
  for (int i = 0; i < 4; ++i) put(i, kFixedNumber[i]);
  const int count = static_cast<int>(std::min<size_t>(rows.size(), kMaxRows));
  put(4, static_cast<uint32_t>(count));
  for (int row = 0; row < count; ++row) {
    put(kHeaderValues + 3 * row, rows[row].vendor_id);
    put(kHeaderValues + 3 * row + 1, rows[row].product_id);
    put(kHeaderValues + 3 * row + 2, rows[row].kind);
  }
  return block;
}

}  // namespace vorlin
