#pragma once

// The lighting worker of a mouse pad or headset (and the base of the mouse's): a thread that
// steps the device's effect into its frame, plays the selected user sequence, and lays the
// per-key overlays over the result; the frame timer shows the frame on the page.
//
// It never spins. With the link closed or the device in the synchronised mode (the link's
// lighting hold, the sync thread then writes the frame) it rests until woken or for 100 ms. A
// running effect wakes once per step of its speed (StepPeriodMs); a steady or dark effect without
// overlays rests until something changes. User sequences and per-key overlays count worker turns
// of kLightingTickMs.

#include <cstdint>
#include <functional>
#include <string>

#include "devices/device_worker.h"
#include "devices/lighting_state.h"
#include "lighting_steps/device_layout.h"
#include "lighting_steps/effect_dispatch.h"

namespace vorlin {

class DeviceLink;

class LightingWorker {
 public:
  // The device's effect code for an effect number of its light words.
  using EffectCodeOf = std::function<uint8_t(uint8_t effect_number)>;
  // A step the device runs itself (the mouse's reactive effect), called on the worker's thread
  // with the worker's effect state for the steps RunEffectStep leaves to the caller, at the same
  // times RunEffectStep would run. Not called for user sequences, which the worker plays.
  using DeviceStep = std::function<void(EffectStepKind step, EffectState& state, FrameView frame,
                                        const EffectParams& params)>;

  LightingWorker(DeviceLink& link, DeviceLightingState& state, LightingDevice kind,
                 EffectCodeOf effectCode, std::string exitLog, DeviceStep deviceStep = {});
  ~LightingWorker();

  // Starts the thread (stopping a running one first). Start and Stop belong to the UI thread.
  void Start();
  void Stop();
  bool Running() const { return worker_.Running(); }

  // How long a worker rests while there is nothing to step.
  static constexpr int kIdleWaitMs = 100;
  static constexpr int kStillWaitMs = 1000;

 private:
  void Run(const StopEvent& stop);
  void Step(EffectStepKind step, const DeviceLightingLayout& layout, EffectState& state,
            FrameView frame, const EffectParams& params, uint32_t now_ms);

  DeviceLink& link_;
  DeviceLightingState& state_;
  LightingDevice kind_;
  EffectCodeOf effect_code_;
  DeviceStep device_step_;
  DeviceWorker worker_;
};

// Milliseconds of a monotonic clock, as the effect steps count them.
uint32_t LightingClockMs();

}  // namespace vorlin
