#pragma once

// The lighting state a device object shares with its lighting worker (and with the lighting sync
// thread): the light words, the frame, the selected user sequence and the per-key overlays. The
// words and the frame are atomics; the two lists have a lock each, which the worker holds while
// it reads them and the device while it replaces them. Every change the worker must see at once
// sets `wake`, so that a worker resting between steps looks again.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "lighting_steps/frame.h"
#include "platform/stop_event.h"
#include "profiles/light_records.h"

namespace vorlin {

// The light words shared with the lighting worker: effect, brightness, speed, direction (word 0),
// multicolour flag and colour (word 1), and two values the device kinds use.
class SharedLightWords {
 public:
  LightWords Load() const;
  void Store(const LightWords& words);

 private:
  std::atomic<uint32_t> word0_{0}, word1_{0}, word2_{0};
  std::atomic<uint16_t> word3_{0};
};

struct DeviceLightingState {
  SharedLightWords words;
  KeyColorFrame frame;
  // Set by the device when the effect must start from its beginning; the worker clears it.
  std::atomic<bool> restart{false};
  StopEvent wake;

  std::mutex sequence_lock;
  std::vector<LightEffectStep> sequence;  // the selected custom effect
  uint32_t sequence_version = 0;          // raised on every replacement

  std::mutex overlay_lock;
  std::vector<LightListEntry> overlays;  // per key index
  uint32_t overlay_version = 0;

  // Replaces the list and tells the worker.
  void SetSequence(std::vector<LightEffectStep> steps);
  void SetOverlays(std::vector<LightListEntry> entries);
  // The words changed (or anything else the worker reads).
  void Changed() { wake.Set(); }
};

}  // namespace vorlin
