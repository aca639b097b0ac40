#pragma once

#include <cstdint>

namespace vorlin {

// Moves a position along a cycle of `limit` places by `step`.
//
// Forward: value + step, or 0 once that is not below limit. Backward: value - step on 8 bits, or
// limit - step once that result is not below limit. The direction byte of the light words picks
// forward (non-zero) or backward.
//
// The forward sum is taken before any 8-bit truncation, so a stale value near 255 still wraps to
// 0 instead of overflowing to a small number that skips the wrap. With 0 < step <= limit the
// result is always below limit, whatever the incoming value: that is what keeps the curve and
// wheel lookups of the steps inside their tables. A zero limit yields 0.
constexpr uint8_t StepWrap(bool forward, uint8_t limit, uint8_t value, uint8_t step) {
  if (limit == 0) return 0;
  if (forward) {
    const unsigned next = unsigned{value} + step;
    return next < limit ? static_cast<uint8_t>(next) : 0;
  }
  const uint8_t next = static_cast<uint8_t>(value - step);
  if (next < limit) return next;
  return step <= limit ? static_cast<uint8_t>(limit - step) : 0;
}

// Adds one to a position and starts again at 0 once it reaches `limit`; a stale position at or
// above the limit restarts at 0 too.
constexpr uint8_t AdvanceWrap(uint8_t value, uint8_t limit, uint8_t step = 1) {
  return StepWrap(true, limit, value, step);
}

// A tick counter against a speed threshold: the count is raised first and then compared, so a
// threshold of 0 or 1 fires on every call and a threshold of 8 on every eighth. Returns true when
// the step is due (and the count has restarted).
constexpr bool CountTick(uint32_t& count, uint8_t threshold) {
  ++count;
  if (count < threshold) return false;
  count = 0;
  return true;
}

}  // namespace vorlin
