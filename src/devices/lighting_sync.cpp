#include "devices/lighting_sync.h"

#include "devices/lighting_worker.h"
#include "hid/device_link.h"

namespace vorlin {

LightingSync::LightingSync() : worker_("synchronised lighting ends") {}

LightingSync::~LightingSync() {
  worker_.Stop();
}

void LightingSync::AddDevice(DeviceLink& link, DeviceLightingState& lighting) {
  std::lock_guard lock(mutex_);
  targets_.push_back({&link, &lighting});
}

void LightingSync::Start(const SyncSettings& settings) {
  {
    std::lock_guard lock(mutex_);
    settings_ = settings;
    restart_ = true;
  }
  wake_.Set();
}

SyncSettings LightingSync::Settings() const {
  std::lock_guard lock(mutex_);
  return settings_;
}

void LightingSync::StartThread() {
  worker_.Start([this](const StopEvent& stop) { Run(stop); });
}

std::vector<LightingSync::Target> LightingSync::HeldTargets() const {
  std::lock_guard lock(mutex_);
  std::vector<Target> held;
  for (const Target& target : targets_) {
    if (target.link->open.load() && target.link->lightingHold.load()) held.push_back(target);
  }
  return held;
}

void LightingSync::Run(const StopEvent& stop) {
  SyncCounters counters;
  while (!stop.IsSet()) {
    wake_.Reset();
    const std::vector<Target> held = HeldTargets();
    if (held.empty()) {
      if (WaitForEither(stop, wake_, kIdleWaitMs) == 1) break;
      continue;
    }
    SyncSettings settings;
    {
      std::lock_guard lock(mutex_);
      settings = settings_;
      if (restart_) counters = SyncCounters{};
      restart_ = false;
    }
    const uint32_t entry = SyncStep(counters, settings, LightingClockMs());
    for (const Target& target : held) target.lighting->frame.view().Fill(entry);
    if (WaitForEither(stop, wake_, static_cast<int>(SyncStepPeriodMs(settings))) == 1) break;
  }
}

}  // namespace vorlin
