#pragma once

// The synchronised lighting mode: one thread lights every device whose link carries the lighting
// hold with the same effect, step for step. The UI thread chooses the effect (Start) and lists the
// devices (AddDevice, once per device object); the thread finds the held devices itself.
//
// It never spins: while no device is held it rests until Start wakes it, or for a second; while
// devices are held it wakes once per step of the synchronised speed.

#include <cstdint>
#include <mutex>
#include <vector>

#include "devices/device_worker.h"
#include "devices/lighting_state.h"
#include "lighting_steps/sync_lighting.h"

namespace vorlin {

class DeviceLink;

class LightingSync {
 public:
  LightingSync();
  ~LightingSync();

  // A device the mode can light, in the order the thread looks for held devices. The link and
  // the lighting state must outlive the thread (the owner stops it first).
  void AddDevice(DeviceLink& link, DeviceLightingState& lighting);

  // Takes the synchronised effect and wakes the thread (the caller has set the holds).
  void Start(const SyncSettings& settings);
  SyncSettings Settings() const;

  void StartThread();
  DeviceWorker& Worker() { return worker_; }

  static constexpr int kIdleWaitMs = 1000;

 private:
  struct Target {
    DeviceLink* link;
    DeviceLightingState* lighting;
  };
  void Run(const StopEvent& stop);
  std::vector<Target> HeldTargets() const;

  mutable std::mutex mutex_;  // settings_, targets_, restart_
  SyncSettings settings_;
  bool restart_ = false;
  std::vector<Target> targets_;
  StopEvent wake_;
  DeviceWorker worker_;
};

}  // namespace vorlin
