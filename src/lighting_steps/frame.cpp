#include "lighting_steps/frame.h"

namespace vorlin {

std::vector<uint32_t> KeyColorFrame::Snapshot() const {
  std::vector<uint32_t> copy(words_.size());
  for (size_t i = 0; i < copy.size(); ++i) copy[i] = GetKeyColor(i);
  return copy;
}

}  // namespace vorlin
