// The cost of one call of every software lighting step, on frames of the sizes the devices use
// (15 LEDs for the mouse preview, 13 for the headset) and on a keyboard-sized frame of 170 keys
// for the steps the keyboard borrows. Reported per call and per frame entry.

#include <benchmark/benchmark.h>

#include <vector>

#include "lighting_steps/base_steps.h"
#include "lighting_steps/effect_cells.h"
#include "lighting_steps/effect_dispatch.h"
#include "lighting_steps/key_overlays.h"
#include "lighting_steps/moving_steps.h"
#include "lighting_steps/sync_lighting.h"
#include "lighting_steps/user_sequence.h"

namespace vorlin {
namespace {

EffectParams Params(bool multi) {
  return {7, 3, 2, 1, multi, Rgb{10, 200, 30}};
}

template <typename Step>
void RunOnFrame(benchmark::State& state, Step step) {
  KeyColorFrame frame(static_cast<size_t>(state.range(0)));
  EffectState effect;
  effect.cells.column[0] = 1;
  uint32_t now = 0;
  for (auto _ : state) {
    step(effect, frame.view(), now);
    now += 2;
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_BreathStep(benchmark::State& s) {
  RunOnFrame(s, [](EffectState& e, FrameView f, uint32_t) { BreathStep(e, f, Params(true)); });
}
void BM_BreathFourStep(benchmark::State& s) {
  RunOnFrame(s, [](EffectState& e, FrameView f, uint32_t) { BreathFourStep(e, f, Params(true)); });
}
void BM_SteadyStep(benchmark::State& s) {
  RunOnFrame(s, [](EffectState&, FrameView f, uint32_t) { SteadyStep(f, Params(false)); });
}
void BM_SpectrumStep(benchmark::State& s) {
  RunOnFrame(s, [](EffectState& e, FrameView f, uint32_t) { SpectrumStep(e, f, Params(false)); });
}
void BM_BlinkStep(benchmark::State& s) {
  RunOnFrame(s,
             [](EffectState& e, FrameView f, uint32_t now) { BlinkStep(e, f, Params(true), now); });
}
void BM_BlinkFourStep(benchmark::State& s) {
  RunOnFrame(
      s, [](EffectState& e, FrameView f, uint32_t now) { BlinkFourStep(e, f, Params(true), now); });
}
void BM_DarkStep(benchmark::State& s) {
  RunOnFrame(s, [](EffectState&, FrameView f, uint32_t) { DarkStep(f); });
}

// The layout steps: range(0) frame size, range(1) the device.
template <typename Step>
void RunOnDevice(benchmark::State& state, Step step) {
  const DeviceLightingLayout& layout = LightingLayout(static_cast<LightingDevice>(state.range(1)));
  RunOnFrame(state, [&](EffectState& e, FrameView f, uint32_t) { step(layout, e, f); });
}
void BM_WaveStepMulticolour(benchmark::State& s) {
  RunOnDevice(s, [](auto& l, EffectState& e, FrameView f) { WaveStep(l, e, f, Params(true)); });
}
void BM_WaveStepSingleColour(benchmark::State& s) {
  RunOnDevice(s, [](auto& l, EffectState& e, FrameView f) { WaveStep(l, e, f, Params(false)); });
}
void BM_RippleStep(benchmark::State& s) {
  RunOnDevice(s, [](auto& l, EffectState& e, FrameView f) { RippleStep(l, e, f, Params(true)); });
}
void BM_SweepStep(benchmark::State& s) {
  RunOnDevice(s, [](auto& l, EffectState& e, FrameView f) { SweepStep(l, e, f, Params(true)); });
}

void BM_FadeAllKeyCells(benchmark::State& state) {
  EffectCells cells;
  cells.key.fill(255);
  for (auto _ : state) {
    for (size_t i = 0; i < EffectCells::kKeyCells; ++i) FadeEffectCell(cells, i, 29);
    if (cells.key[0] == 0) cells.key.fill(255);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * EffectCells::kKeyCells);
}

void BM_UserSequence(benchmark::State& state) {
  std::vector<LightEffectStep> steps(5);
  const uint8_t modes[] = {0, 1, 2, 4, 5};
  for (size_t i = 0; i < steps.size(); ++i) {
    steps[i].mode = modes[i];
    steps[i].brightness = 4;
    steps[i].multi_color = 1;
    steps[i].time = 40;
  }
  KeyColorFrame frame(static_cast<size_t>(state.range(0)));
  UserSequenceState sequence;
  uint32_t now = 0;
  for (auto _ : state) {
    PlayUserSequence(sequence, steps, frame.view(), 2, now);
    now += 2;
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_KeyOverlays(benchmark::State& state) {
  const size_t keys = static_cast<size_t>(state.range(0));
  std::vector<LightListEntry> entries(keys);
  for (size_t k = 0; k < keys; ++k) {
    entries[k] = {static_cast<uint8_t>(k % 5), 4, 2, 0, 1, 1, 2, 3, 1};
  }
  std::vector<KeyOverlayCounters> counters(keys);
  KeyColorFrame frame(keys);
  uint32_t now = 0;
  for (auto _ : state) {
    ApplyKeyOverlays(entries, counters, frame.view(), now);
    now += 2;
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SyncStep(benchmark::State& state) {
  const SyncSettings settings{static_cast<SyncType>(state.range(0)), 4, 2, 1, true, {1, 2, 3}};
  SyncCounters counters;
  uint32_t now = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SyncStep(counters, settings, now));
    now += 2;
  }
}

const char* StepName(EffectStepKind step) {
  switch (step) {
    case EffectStepKind::kWave:
      return "wave";
    case EffectStepKind::kSpectrum:
      return "spectrum";
    case EffectStepKind::kBreath:
      return "breath";
    case EffectStepKind::kSteady:
      return "steady";
    case EffectStepKind::kBlink:
      return "blink";
    case EffectStepKind::kRipple:
      return "ripple";
    case EffectStepKind::kReactive:
      return "reactive";
    case EffectStepKind::kBreathFour:
      return "breath four";
    case EffectStepKind::kBlinkFour:
      return "blink four";
    case EffectStepKind::kSweep:
      return "sweep";
    case EffectStepKind::kDark:
      return "dark";
    case EffectStepKind::kUserSequence:
      break;
  }
  return "user sequence";
}

// One turn of a lighting worker on an effect code: the dispatch and the step, on the device's own
// layout and frame size. range(0) the device, range(1) the effect code, range(2) the frame size.
void BM_WorkerEffectTurn(benchmark::State& state) {
  const auto device = static_cast<LightingDevice>(state.range(0));
  const auto code = static_cast<uint8_t>(state.range(1));
  const DeviceLightingLayout& layout = LightingLayout(device);
  KeyColorFrame frame(static_cast<size_t>(state.range(2)));
  EffectState effect;
  uint32_t now = 0;
  for (auto _ : state) {
    const EffectDispatch dispatch = DispatchEffect(device, code);
    benchmark::DoNotOptimize(
        RunEffectStep(dispatch.step, layout, effect, frame.view(), Params(true), now));
    now += 2;
    benchmark::ClobberMemory();
  }
  state.SetLabel(StepName(DispatchEffect(device, code).step));
  state.SetItemsProcessed(state.iterations() * state.range(2));
}

constexpr int kMouse = static_cast<int>(LightingDevice::kMouse);
constexpr int kMousePad = static_cast<int>(LightingDevice::kMousePad);
constexpr int kHeadset = static_cast<int>(LightingDevice::kHeadset);

#define FRAME_SIZES Arg(13)->Arg(15)->Arg(170)
#define DEVICES Args({15, kMouse})->Args({13, kHeadset})->Args({170, kHeadset})

BENCHMARK(BM_BreathStep)->FRAME_SIZES;
BENCHMARK(BM_BreathFourStep)->FRAME_SIZES;
BENCHMARK(BM_SteadyStep)->FRAME_SIZES;
BENCHMARK(BM_SpectrumStep)->FRAME_SIZES;
BENCHMARK(BM_BlinkStep)->FRAME_SIZES;
BENCHMARK(BM_BlinkFourStep)->FRAME_SIZES;
BENCHMARK(BM_DarkStep)->FRAME_SIZES;
BENCHMARK(BM_WaveStepMulticolour)->DEVICES;
BENCHMARK(BM_WaveStepSingleColour)->DEVICES;
BENCHMARK(BM_RippleStep)->DEVICES;
BENCHMARK(BM_SweepStep)->DEVICES;
BENCHMARK(BM_FadeAllKeyCells);
BENCHMARK(BM_UserSequence)->FRAME_SIZES;
BENCHMARK(BM_KeyOverlays)->FRAME_SIZES;
BENCHMARK(BM_SyncStep)->DenseRange(0, 4);
// Every step a worker runs: the mouse's codes 0-10 (5 ripple, 7 breath four, 8 blink four, 10 dark;
// 6 reactive and 9 a user sequence are not stepped here), the mouse pad's 6 sweep, 7 ripple and
// 8 dark, and the headset's spectrum.
BENCHMARK(BM_WorkerEffectTurn)
    ->ArgsProduct({{kMouse}, benchmark::CreateDenseRange(0, 10, 1), {15}})
    ->ArgsProduct({{kMousePad}, {6, 7, 8}, {15}})
    ->Args({kHeadset, 1, 13});

}  // namespace
}  // namespace vorlin
