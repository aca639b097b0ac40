#pragma once

// CHalvexUSBDevice: the base of every device object, the device's logic without any widget. One
// exists per product of the catalogue for the whole run; discovery connects it to the device and
// disconnects it again, and its profile and settings stay while the device is away.
//
// It owns the command link, the event interfaces and their reader threads, the timers that read
// and poll the device, the lighting state and its worker, and the profile data. In the program it
// lives on a thread of its own (DeviceThread): every exchange with the device (reading it,
// resyncing, polling its status, writing a change) runs there in order, so a device that stops
// answering never holds up the window. Pages talk to it only through a DeviceClient: they get
// copies of its state (DeviceView, after every change) and send commands, which RunCommand
// carries out. Tests may drive an object directly on their own thread.
//
// Threads: the event readers and the lighting worker share the frame, the light words and the
// flags below through atomics, and hand anything else to the object's thread as queued calls.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <QObject>

#include "catalogue/product_catalogue.h"
#include "devices/device_scheduler.h"
#include "devices/device_view.h"
#include "devices/event_interface.h"
#include "devices/lighting_state.h"
#include "devices/lighting_worker.h"
#include "devices/write_outcome.h"
#include "hid/device_tables.h"
#include "profiles/light_name_lists.h"
#include "profiles/light_records.h"
#include "profiles/profile_folders.h"

namespace vorlin {

class CBasicProfiledata;
class DeviceLink;
class Mailbox;

class CHalvexUSBDevice : public QObject, private ScheduledDevice {
  Q_OBJECT

 public:
  CHalvexUSBDevice(const ProductEntry& product, ProfileFolders folders);
  ~CHalvexUSBDevice() override;

  const ProductEntry& Product() const { return product_; }
  DeviceFamily Family() const { return product_.family; }
  const ProfileFolders& Folders() const { return folders_; }
  // The product's user data folder (profiles, macros, recoil patterns).
  std::string UserFolder() const;

  // Loads the current profile (making the first one when there is none), the name lists and the
  // profile's lighting. Called once, before the object goes to its thread.
  void Initialise();

  // ---- Connection (the object's thread) ----

  // Discovery bound the command interface `path` by cable or through the receiver: the link
  // opens it and the device is read once it answers. False when the interface cannot be opened.
  bool BindCommandInterface(const std::string& path, bool receiver);
  // Both ways are bound and one of them changed: the cable took over (`to_cable`, `path` the
  // cable's) or the cable went and the receiver at `path` takes over again.
  void SwitchConnection(bool to_cable, const std::string& path);
  // The command interfaces went away.
  void DisconnectLink();
  // The event interface of a connection (kinds 6 and 9: the receiver's; others: the cable's).
  virtual void OpenEventInterface(const std::string& path, uint16_t kind);
  virtual void CloseEventInterface(uint16_t kind);
  bool EventInterfaceOpen(uint16_t kind) const;

  DeviceLink& Link() { return *link_; }
  bool LinkOpen() const override;
  bool OnReceiver() const override { return on_receiver_.load(std::memory_order_relaxed); }
  ConnectionKind Connection() const;
  uint16_t ConnectedKind() const { return kind_; }
  DeviceScheduler& Scheduler() { return scheduler_; }

  // ---- Window state the device follows (any thread) ----

  // Status polling rests while the window is hidden (devices with a status panel only).
  void SetWindowHidden(bool hidden);
  bool WindowHidden() const { return window_hidden_.load(std::memory_order_relaxed); }
  // Whether this program drives the device's lighting; the keyboard is told when it takes over
  // (the object's thread).
  void SetHostLighting(bool on);
  bool HostLighting() const { return host_lighting_.load(std::memory_order_relaxed); }
  // Leave the synchronised lighting mode (no other device is shown any more).
  void LeaveSynchronisedLighting();

  // ---- What the page sees ----

  // A copy of the state the page shows.
  DeviceView View() const;
  // Carries out a command of the page and tells the page the state afterwards.
  void RunCommand(const std::function<void()>& command);
  // Any thread: `work` runs on the object's thread, after what was posted before it.
  void Post(std::function<void()> work);
  // On the object's thread: runs `work` now; from any other thread: posts it.
  void RunOrPost(std::function<void()> work);
  uint64_t CommandsDone() const { return commands_done_; }
  // The lighting state the page's preview and the synchronised lighting read (atomics).
  DeviceLightingState& Lighting() { return lighting_; }
  const KeyColorFrame& Frame() const { return lighting_.frame; }

  // ---- User actions: each stores, saves and writes, and reports its outcome ----

  // The settings become the lighting: profile, document, preview, device.
  void SetLighting(const LightSettings& settings, bool leave_sync);
  void SetAudioLighting(const AudioLightSettings& settings);
  // Profile `profile_id` is current: loaded and written to the device whole.
  virtual void ApplyProfile(const std::string& profile_id, const std::string& document_path);
  // The current profile takes the factory settings and the device gets them whole.
  void ResetToFactory();

  // ---- The device's operations (the device classes give their own) ----

  LightSettings GetLightSettings() const;
  LightWords GetLightWords() const { return lighting_.words.Load(); }
  // Stores the light words into the lighting state and the profile.
  void SetLightWords(const LightWords& words);
  AudioLightSettings GetAudioLightSettings() const { return audio_light_; }
  void ClearLightingHold();
  // Takes the profile's lighting into the device's lighting state (the base: the preview).
  virtual int ApplyLighting() {
    LoadLightingFromProfile();
    return 1;
  }
  void ReadDeviceState() override {
    NoteDeviceRead();
    PublishView();
  }
  void ResyncFromDevice() override {}
  void PollStatus() override {}
  // 1 when the device can be reached.
  int ProbeLink() override { return 1; }
  // The current profile has been loaded into the profile data: take it over.
  virtual int LoadProfile() {
    LoadLightingFromProfile();
    return 1;
  }
  virtual void DropMissingMacroKeys() {}
  // The profile document changed outside the device: reload it and take it over.
  virtual void ReloadProfile();
  // The settings record (profile, value of byte 0): 1 when the device took it; 0 when it could
  // not be reached; another link result (hid/device_link.h) when writing failed.
  virtual int WriteParamRecord(int profile, int value) { return 1; }
  // The macros the keys call and the key table, as applying a profile writes them.
  virtual MacroKeyWrite WriteMacrosAndKeys() { return {}; }
  // Reloads the name lists (effect names, custom effects) and shows them.
  virtual void LoadNameLists();

  // The effect starts again from its beginning at the worker's next turn.
  void RequestEffectRestart();
  // Starts (or restarts) the lighting worker; devices without one ignore it.
  void StartLightingWorker();
  bool LightingWorkerRunning() const;

  std::string GetProfileName() const;
  const std::string& ProfileId() const { return profile_id_; }
  // Writes the profile data's current entry into the profile document.
  bool SaveProfile();
  virtual CBasicProfiledata& ProfileData() = 0;
  const CBasicProfiledata& ProfileData() const {
    return const_cast<CHalvexUSBDevice*>(this)->ProfileData();
  }

  // Tells the page the current state.
  void PublishView();

  // Stops the threads and closes the interfaces. Idempotent; the destructor calls it.
  void Shutdown();

 signals:
  void viewChanged(const vorlin::DeviceView& view);
  // The device asks for its option to be shown (it answers through the receiver) or hidden.
  void optionRequested(bool show);
  // The connection changed (opened, switched, closed).
  void connectionChanged(vorlin::ConnectionKind connection);
  // The outcome of a user action.
  void reported(const vorlin::DeviceReport& report);
  // The command interface `path` could not be opened (`error`: errno of the open).
  void openFailed(const QString& path);
  // The device's firmware must be updated (message 3332): its product id and version number.
  void firmwareNotice(int productId, int versionNumber);

 protected:
  // The device classes add their part of the view.
  virtual void FillView(DeviceView& view) const {}
  // A profile is about to be applied whole: the device takes the profile's own settings over
  // the device's (the mouse's key list).
  virtual void PrepareProfileSwitch() {}
  // The exit line of the event readers and how long closing waits for them.
  std::string EventReaderExitLog() const;
  std::chrono::milliseconds EventReaderStopBound() const;
  // An event the device reported (on the reader's thread). The base answers 0x0401 (the device
  // asks to be read again) with the resync timer after ResyncDelayMs().
  virtual void OnDeviceEvent(uint16_t code, std::span<const uint8_t> report);
  virtual int ResyncDelayMs() const { return 500; }
  // The lighting worker's device kind; nullopt for a device without one.
  virtual std::optional<LightingDevice> LightingKind() const { return std::nullopt; }
  // The effect code the worker dispatches on for an effect number of the light words.
  virtual uint8_t LightingEffectCode(uint8_t effect_number) const;
  const std::vector<LightModeName>& BuiltInLightModes() const { return builtin_modes_; }
  // Takes the profile's light settings into the light words, and its per-key light list and
  // selected custom effect into the worker's lists.
  void LoadLightingFromProfile();
  // Reports `action`: written when `result` is 1, kept in the profile only when the device is
  // not reachable, failed with the reason of `result` otherwise.
  void Report(DeviceReport::Action action, int result);
  // Reports a change that wrote the settings record (`record`), then the macros and the keys.
  void Report(DeviceReport::Action action, int record, const MacroKeyWrite& keys);
  // The connection changed: the timers that need the link and the page follow.
  virtual void Disconnected();
  // The device has been read since it was connected (the classes call it when ReadDeviceState
  // is done).
  void NoteDeviceRead() { device_read_ = true; }
  bool ShuttingDown() const { return shut_down_; }

 private:
  // ScheduledDevice
  bool HasStatusPanel() const override { return product_.statusPanel; }
  bool OptionShown() const override { return option_shown_; }
  void RequestOption(bool show) override;

  // The profile list's current profile, its document and light configuration.
  void LoadCurrentProfile();
  // Writes everything of the loaded profile to the device and reports it as `action`.
  void WriteWholeProfile(DeviceReport::Action action);
  void NoteConnection();
  EventInterface& EventSide(uint16_t kind);
  const EventInterface& EventSide(uint16_t kind) const;

  ProductEntry product_;
  ProfileFolders folders_;
  std::unique_ptr<DeviceLink> link_;
  Mailbox* inbox_;  // a child: it moves with the object to its thread
  std::atomic<bool> on_receiver_{false};
  EventInterface cable_events_;
  EventInterface receiver_events_;
  DeviceScheduler scheduler_;

  std::string profile_id_;
  uint16_t kind_ = 0;
  bool option_shown_ = false;
  bool device_read_ = false;
  uint64_t commands_done_ = 0;

  DeviceLightingState lighting_;
  std::unique_ptr<LightingWorker> lighting_worker_;
  AudioLightSettings audio_light_;
  std::vector<LightModeName> builtin_modes_;
  std::vector<std::string> custom_modes_;

  std::atomic<bool> host_lighting_{true};
  std::atomic<bool> window_hidden_{false};
  bool shut_down_ = false;
};

}  // namespace vorlin
