#include "devices/lighting_worker.h"

#include <chrono>
#include <vector>

#include "hid/device_link.h"
#include "lighting_steps/effect_dispatch.h"
#include "lighting_steps/effect_state.h"
#include "lighting_steps/key_overlays.h"
#include "lighting_steps/user_sequence.h"

namespace vorlin {

uint32_t LightingClockMs() {
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

LightingWorker::LightingWorker(DeviceLink& link, DeviceLightingState& state, LightingDevice kind,
                               EffectCodeOf effectCode, std::string exitLog,
                               DeviceStep deviceStep)
    : link_(link),
      state_(state),
      kind_(kind),
      effect_code_(std::move(effectCode)),
      device_step_(std::move(deviceStep)),
      worker_(std::move(exitLog)) {}

LightingWorker::~LightingWorker() {
  Stop();
}

void LightingWorker::Start() {
  worker_.Start([this](const StopEvent& stop) { Run(stop); });
}

void LightingWorker::Stop() {
  worker_.Stop();
}

void LightingWorker::Step(EffectStepKind step, const DeviceLightingLayout& layout,
                          EffectState& state, FrameView frame, const EffectParams& params,
                          uint32_t now_ms) {
  if (RunEffectStep(step, layout, state, frame, params, now_ms)) return;
  if (device_step_ && step != EffectStepKind::kUserSequence) device_step_(step, state, frame, params);
}

void LightingWorker::Run(const StopEvent& stop) {
  const DeviceLightingLayout& layout = LightingLayout(kind_);
  EffectState effect = StartingEffectState();
  UserSequenceState sequence_state;
  uint32_t sequence_version = 0;
  std::vector<KeyOverlayCounters> overlay_counters;
  uint32_t overlay_version = 0;
  uint32_t ticks = 0;

  while (!stop.IsSet()) {
    state_.wake.Reset();
    if (!link_.open.load() || link_.lightingHold.load()) {
      if (WaitForEither(stop, state_.wake, kIdleWaitMs) == 1) break;
      continue;
    }
    if (state_.restart.exchange(false)) {
      effect = StartingEffectState();
      ticks = 0;
    }
    const LightSettings settings = LightSettingsFromWords(state_.words.Load());
    const EffectParams params = EffectParamsFromLightSettings(settings);
    const uint8_t code = effect_code_ ? effect_code_(params.effect) : params.effect;
    const EffectDispatch dispatch = DispatchEffect(kind_, code);
    const uint32_t now = LightingClockMs();
    FrameView frame = state_.frame.view();

    bool has_overlays = false;
    {
      std::lock_guard lock(state_.overlay_lock);
      has_overlays = !state_.overlays.empty();
    }
    const bool per_turn = dispatch.step == EffectStepKind::kUserSequence || has_overlays;
    int wait_ms = 0;
    if (dispatch.step == EffectStepKind::kUserSequence) {
      std::lock_guard lock(state_.sequence_lock);
      if (state_.sequence_version != sequence_version) {
        sequence_version = state_.sequence_version;
        sequence_state = UserSequenceState{};
      }
      PlayUserSequence(sequence_state, state_.sequence, frame, params.speed, now);
      wait_ms = static_cast<int>(kLightingTickMs);
    } else if (per_turn) {
      if (++ticks >= TicksPerStep(kind_, code, params.speed)) {
        Step(dispatch.step, layout, effect, frame, params, now);
        ticks = 0;
      }
      wait_ms = static_cast<int>(kLightingTickMs);
    } else {
      Step(dispatch.step, layout, effect, frame, params, now);
      const bool still =
          dispatch.step == EffectStepKind::kSteady || dispatch.step == EffectStepKind::kDark;
      wait_ms = still ? kStillWaitMs : static_cast<int>(StepPeriodMs(kind_, code, params.speed));
    }
    if (has_overlays) {
      std::lock_guard lock(state_.overlay_lock);
      if (state_.overlay_version != overlay_version || overlay_counters.size() != state_.overlays.size()) {
        overlay_version = state_.overlay_version;
        overlay_counters.assign(state_.overlays.size(), KeyOverlayCounters{});
      }
      ApplyKeyOverlays(state_.overlays, overlay_counters, frame, now);
    }
    if (WaitForEither(stop, state_.wake, wait_ms) == 1) break;
  }
}

}  // namespace vorlin
