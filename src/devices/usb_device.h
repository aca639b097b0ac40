#pragma once

// CHalvexUSBDevice: the base of every device object. A device object is at once the device's page
// in the main window (a picture of the device made of key and light buttons, the profile bar and
// the panels of its kind) and the device's logic: its command link, its event interfaces and their
// reader threads, its timers, its profile data and its lighting state. One exists per supported
// product for the whole run; discovery connects it to the device and disconnects it again, and the
// page, its profile and its settings stay while the device is away.
//
// Threads: the object lives on the UI thread. The event readers and the lighting worker share the
// frame (KeyColorFrame), the light words and the flags below with it through atomics; they never
// touch a widget and hand their work to the UI thread as queued calls.

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "devices/device_rows.h"
#include "devices/device_scheduler.h"
#include "devices/event_interface.h"
#include "devices/lighting_state.h"
#include "devices/lighting_worker.h"
#include "hid/device_tables.h"
#include "lighting/light_control_ui.h"
#include "lighting/lighting_target.h"
#include "lighting_steps/frame.h"
#include "profile_bar/device_profile_ui.h"
#include "profile_bar/profile_bar_host.h"
#include "profiles/light_name_lists.h"
#include "profiles/light_records.h"
#include "profiles/profile_folders.h"
#include "ui/notification.h"

class QBoxLayout;
class QLabel;

namespace vorlin {

class CBasicProfiledata;
class CDeviceKeyButtonUI;
class CDeviceOptionUI;
class CDeviceHook;
class CDeviceProfileUI;
class DeviceFunctionArea;
class DeviceLink;

// What the page is told when it is created (in this order, then AttachPage()).
struct DevicePageInit {
  QString layout;
  int lightCount = 0;
  int keyCount = 0;
  int pageRow = -1;
  int statusPanel = 0;
  int mouseValue = -1;
  QString dataName;
  QWidget* powerPanel = nullptr;
  InterfaceEntry key;
  int lightIndex = 0;
  QString lightConfigName;
};

class CHalvexUSBDevice : public QWidget,
                         public ProfileBarHost,
                         public LightingTarget,
                         private ScheduledDevice {
  Q_OBJECT

 public:
  static constexpr size_t kKeyRecordSize = 14;
  using KeyRecord = std::array<uint8_t, kKeyRecordSize>;

  CHalvexUSBDevice(DeviceFamily family, QWidget* parent = nullptr);
  ~CHalvexUSBDevice() override;

  DeviceFamily Family() const { return family_; }

  // ---- Creation (page creation calls these in this order, then AttachPage) ----

  // Stores the creation values and builds the page from its layout. False when the layout
  // cannot be built.
  bool AttachPage(const DevicePageInit& init);
  const DevicePageInit& Init() const { return init_; }
  // Where the profile documents live (before AttachPage; the shell's folders by default).
  void SetProfileFolders(const ProfileFolders& folders) { folders_ = folders; }
  const ProfileFolders& Folders() const { return folders_; }

  void SetLightCount(int count);
  // Sizes the key buttons, the frame and the key records, and clears every record and frame
  // entry, also when the count does not change.
  void SetKeyCount(int count);
  int LightCount() const { return static_cast<int>(light_buttons_.size()); }
  int KeyCount() const { return static_cast<int>(key_buttons_.size()); }
  void SetStatusPanel(bool on);
  bool HasStatusPanel() const override { return status_panel_; }

  // ---- Identity and connection ----

  // The key discovery finds the object by: the cable command row, with the bound path.
  const InterfaceEntry& Key() const { return key_; }
  // Copies the entry and the connection's kind and role.
  void StoreKey(const InterfaceEntry& key, uint16_t kind, uint16_t role);
  uint16_t ConnectedKind() const { return kind_; }

  void SetOption(CDeviceOptionUI* option);
  CDeviceOptionUI* Option() const;
  // The window's input capture, which the key and macro panels use (it outlives the page).
  void SetInputCapture(CDeviceHook* capture) { input_capture_ = capture; }
  CDeviceHook* InputCapture() const { return input_capture_; }

  DeviceLink& Link() { return *link_; }
  bool LinkOpen() const override;
  bool OnReceiver() const override { return on_receiver_.load(std::memory_order_relaxed); }
  void SetOnReceiver(bool on) { on_receiver_.store(on, std::memory_order_relaxed); }

  DeviceScheduler& Scheduler() { return scheduler_; }
  // Discovery bound the command interface (or the cable took over): start the device up.
  void ScheduleStartUp();
  // Shows the connection (cable, receiver, none) on the device's card.
  void ShowConnectionState();
  // The command interfaces went away; the link is already closed.
  virtual void Disconnected();

  // The event interface of a connection (kinds 6 and 9: the receiver's; others: the cable's).
  virtual void OpenEventInterface(const std::string& path, uint16_t kind);
  virtual void CloseEventInterface(uint16_t kind);
  bool EventInterfaceOpen(uint16_t kind) const;

  // ---- Window state the device follows ----

  void SetWindowActive(bool active) { window_active_.store(active, std::memory_order_relaxed); }
  bool WindowActive() const override { return window_active_.load(std::memory_order_relaxed); }
  // Ignored on a device without a status panel.
  void SetWindowHidden(bool hidden);
  bool WindowHidden() const { return window_hidden_.load(std::memory_order_relaxed); }
  // Whether this program drives the device's lighting; the keyboard is told when it takes over.
  void SetHostLighting(bool on);
  bool HostLighting() const { return host_lighting_.load(std::memory_order_relaxed); }
  // Leave the synchronised lighting mode (no other device is shown any more).
  void LeaveSynchronisedLighting();

  // ---- The device's operations (the device classes give their own) ----

  // Takes the profile's lighting into the device's lighting state (the base: the preview).
  int ApplyLighting() override {
    LoadLightingFromProfile();
    return 1;
  }
  // Shows the frame on the page's key buttons while this program drives the lighting.
  virtual void OutputFrame() override;
  void SetKeyColor(int index, uint32_t entry);
  uint32_t GetKeyColor(int index) const;
  virtual void ReadDeviceState() override {}
  virtual void ResyncFromDevice() override {}
  virtual void PollStatus() override {}
  // 1 when the device can be reached.
  virtual int ProbeLink() override { return 1; }
  // The current profile has been loaded into the profile data: show it and send it.
  virtual int LoadProfile() {
    LoadLightingFromProfile();
    RefreshPage();
    return 1;
  }
  // Shows the device's settings on the page (the base: the light words in the lighting panel).
  virtual void RefreshPage();
  virtual void DropMissingMacroKeys() {}
  // The profile data changed outside the page: reload it and show it.
  virtual void ReloadProfile();
  virtual std::vector<int> ListUsedMacros() const { return {}; }
  virtual int StoreKeyAssignments() { return 0; }
  virtual int DownloadMacros() { return 0; }
  int WriteParamRecord(int, int, int, int, int) override { return 0; }
  // The language changed (and at creation): reload the name lists. The base reads the built-in
  // effect names of the device's light index and the custom effects of its light configuration
  // and shows them in the lighting panel.
  virtual void LoadNameLists();

  // The effect starts again from its beginning at the worker's next turn (the effect changed).
  void RequestEffectRestart();
  // Starts (or restarts) the lighting worker; devices without one ignore it.
  void StartLightingWorker();
  bool LightingWorkerRunning() const;

  // Which function panels the page shows (the view codes of function_view.h).
  void SetFunctionView(int view);
  int GetFunctionView() const { return function_view_; }

  virtual std::string GetProfileName() const;
  // Writes the profile data's current entry into the profile document.
  void SaveProfile() override;
  const std::string& ProfileId() const { return profile_id_; }
  void SetProfileId(const std::string& id) { profile_id_ = id; }

  void SetLightIndex(int index);
  int GetLightIndex() const { return light_index_; }
  // LightingTarget
  void SetLightWords(uint32_t word0, uint32_t word1, uint32_t word2, uint16_t word3) override;
  LightWords GetLightWords() const override { return lighting_.words.Load(); }
  AudioLightSettings GetAudioLightSettings() const override { return audio_light_; }
  void SetAudioLightSettings(const AudioLightSettings& settings) override;
  void ClearLightingHold() override;
  // Shows light words in the page's lighting panel (without storing them).
  void ShowLightWords(const LightWords& words);

  // Key button `index` is selected on the page (the device classes show it in their panels).
  virtual void MarkKeys(int index) { selected_key_ = index; }
  int SelectedKey() const { return selected_key_; }

  const std::vector<CDeviceKeyButtonUI*>& KeyButtons() const { return key_buttons_; }
  const std::vector<CDeviceKeyButtonUI*>& LightButtons() const { return light_buttons_; }
  const KeyColorFrame& Frame() const { return lighting_.frame; }
  DeviceLightingState& Lighting() { return lighting_; }
  const std::vector<KeyRecord>& KeyRecords() const { return key_records_; }

  // ---- Profiles ----

  // The profile data of the device class.
  virtual CBasicProfiledata& ProfileData() = 0;
  CDeviceProfileUI* ProfileBar() const { return profile_bar_; }
  // ProfileBarHost
  void ApplyProfile(const std::string& profile_id, const std::string& document_path) override;
  void ResetToFactory() override;

  // A notification of one of the page's controls (false when the sender is not below the page).
  virtual bool HandleNotification(const Notification& notification);

  // Stops the threads and closes the interfaces. Idempotent; the destructor calls it.
  void Shutdown();

 signals:
  // The device asks for its option to be shown (it answers through the receiver) or hidden.
  void OptionShowRequested(int pageRow, bool show);

 protected:
  // Builds the page: the picture from the page layout beside the profile bar and the device's
  // card. The device classes add their own panels after calling it.
  virtual bool BuildPage();
  // The exit line of the event readers and how long closing waits for them.
  std::string EventReaderExitLog() const;
  std::chrono::milliseconds EventReaderStopBound() const;
  // An event the device reported (on the reader's thread). The base answers 0x0401 (the device
  // asks to be read again) with the resync timer after ResyncDelayMs().
  virtual void OnDeviceEvent(uint16_t code, std::span<const uint8_t> report);
  virtual int ResyncDelayMs() const { return 500; }
  // The light type the lighting panel shows its effects for.
  virtual int LightPanelType() const { return 1; }
  CLightControlUI* LightPanel() const { return light_panel_; }
  // Puts a device class's panel on the page as the panel of function view `view`; its tab is
  // offered from then on.
  void SetFunctionPanel(int view, QWidget* panel);
  // The lighting panel's colour button: the colour window, and the choice stored.
  void ChooseLightColour(uint32_t current);
  // The lighting worker's device kind; nullopt for a device without one.
  virtual std::optional<LightingDevice> LightingKind() const { return std::nullopt; }
  // The effect code the worker dispatches on for an effect number of the light words.
  virtual uint8_t LightingEffectCode(uint8_t effect_number) const { return effect_number; }
  // The effect list of the lighting panel: the built-in effects, then the custom ones.
  void ShowLightModes();
  const std::vector<LightModeName>& BuiltInLightModes() const { return builtin_modes_; }
  // The highest brightness and speed index.
  static constexpr int kMaxLightIndex = 4;
  // Takes the profile's light settings into the light words, and its per-key light list and
  // selected custom effect into the worker's lists.
  void LoadLightingFromProfile();
  // The frame timer keeps running while the page can be seen (or the device needs the frame).
  bool NeedsFrames() const override;
  void showEvent(QShowEvent* event) override;
  // Runs `work` on the UI thread, unless the object is gone by then.
  void PostToUi(std::function<void()> work);
  QWidget* Picture() const { return picture_; }

  DevicePageInit init_;

 private:
  // ScheduledDevice
  bool OptionShown() const override;
  bool OptionSelected() const override;
  void RequestOption(bool show) override;
  void RepaintPicture() override;

  // The parts of the page: the picture, and beside it a column with the profile bar and the
  // device's card above the lighting panel.
  bool BuildPicture(QBoxLayout* row);
  void BuildInfoColumn(QBoxLayout* column);
  void BuildFunctionArea(QBoxLayout* column);
  void CollectButtons(QWidget* root);
  void LoadCurrentProfile();
  EventInterface& EventSide(uint16_t kind);
  const EventInterface& EventSide(uint16_t kind) const;

  DeviceFamily family_;
  std::unique_ptr<DeviceLink> link_;
  std::atomic<bool> on_receiver_{false};
  EventInterface cable_events_;
  EventInterface receiver_events_;
  DeviceScheduler scheduler_;
  ProfileFolders folders_;

  QPointer<CDeviceOptionUI> option_;
  CDeviceHook* input_capture_ = nullptr;
  QPointer<CDeviceProfileUI> profile_bar_;
  QPointer<CLightControlUI> light_panel_;
  QPointer<QWidget> picture_;
  QPointer<QLabel> connection_;
  QPointer<DeviceFunctionArea> function_area_;

  std::string profile_id_;
  InterfaceEntry key_;
  uint16_t kind_ = 0;
  uint16_t role_ = 0;
  int selected_key_ = -1;
  int function_view_ = 1;
  int light_index_ = 0;
  bool status_panel_ = false;

  std::vector<CDeviceKeyButtonUI*> light_buttons_;
  std::vector<CDeviceKeyButtonUI*> key_buttons_;
  std::vector<KeyRecord> key_records_;
  DeviceLightingState lighting_;
  std::unique_ptr<LightingWorker> lighting_worker_;
  AudioLightSettings audio_light_;
  std::vector<LightModeName> builtin_modes_;
  std::vector<std::string> custom_modes_;

  std::atomic<bool> host_lighting_{true};
  std::atomic<bool> window_active_{true};
  std::atomic<bool> window_hidden_{false};
  bool shut_down_ = false;
  // The picture is repainted at most this often (about 60 times a second).
  static constexpr int kRepaintIntervalMs = 16;
  QElapsedTimer last_repaint_;
};

}  // namespace vorlin
