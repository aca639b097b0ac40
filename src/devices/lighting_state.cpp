#include "devices/lighting_state.h"

namespace vorlin {

LightWords SharedLightWords::Load() const {
  return {word0_.load(std::memory_order_relaxed), word1_.load(std::memory_order_relaxed),
          word2_.load(std::memory_order_relaxed), word3_.load(std::memory_order_relaxed)};
}

void SharedLightWords::Store(const LightWords& words) {
  word0_.store(words.word0, std::memory_order_relaxed);
  word1_.store(words.word1, std::memory_order_relaxed);
  word2_.store(words.word2, std::memory_order_relaxed);
  word3_.store(words.word3, std::memory_order_relaxed);
}

void DeviceLightingState::SetSequence(std::vector<LightEffectStep> steps) {
  {
    std::lock_guard lock(sequence_lock);
    sequence = std::move(steps);
    ++sequence_version;
  }
  wake.Set();
}

void DeviceLightingState::SetOverlays(std::vector<LightListEntry> entries) {
  {
    std::lock_guard lock(overlay_lock);
    overlays = std::move(entries);
    ++overlay_version;
  }
  wake.Set();
}

}  // namespace vorlin
