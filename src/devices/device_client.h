#pragma once

// The page's side of a device object, on the UI thread. It keeps the device's last view and
// answers the capabilities (device_capabilities.h) from it; every change becomes one command that
// runs on the device's thread (CHalvexUSBDevice::RunCommand). The view in hand already shows the
// page's own changes; a view the device made before it had carried out every command sent is
// not taken, so the page never flickers back to a state it has left. A report of an outcome is
// handed on together with the view that shows the state after it.

#include <cstdint>
#include <functional>

#include <QObject>
#include <QPointer>

#include "devices/device_capabilities.h"
#include "devices/device_view.h"

namespace vorlin {

class CHalvexUSBDevice;
class Mailbox;

class DeviceClient : public QObject,
                     public LightingControl,
                     public ProfileControl,
                     public MouseSettingsControl,
                     public KeyAssignmentControl,
                     public MacroKeysControl,
                     public RecoilControl {
  Q_OBJECT

 public:
  // `initial` is the device's view before it went to its thread.
  DeviceClient(CHalvexUSBDevice& device, DeviceView initial, QObject* parent = nullptr);

  const DeviceView& View() const { return view_; }
  bool HasMouse() const { return view_.mouse.has_value(); }
  // Whether every command sent has been carried out (tests wait for this).
  bool Idle() const { return view_.commandsDone >= sent_; }
  // Runs `command` on the device's thread as one command.
  void Post(std::function<void(CHalvexUSBDevice&)> command);

  // LightingControl
  LightSettings Lighting() const override { return view_.lighting.light; }
  AudioLightSettings AudioLighting() const override { return view_.lighting.audio; }
  void SetLighting(const LightSettings& settings, bool leave_sync) override;
  void SetAudioLighting(const AudioLightSettings& settings) override;

  // ProfileControl
  void ApplyProfile(const std::string& profile_id, const std::string& document_path) override;
  void ResetToFactory() override;

  // MouseSettingsControl
  std::vector<uint8_t> DeviceInfo() const override;
  std::vector<DpiStage> DpiStages() const override;
  int CurrentDpiStage() const override;
  MouseSystemSettings SystemSettings() const override;
  void StoreDpiStages(const std::vector<DpiStage>& stages) override;
  void StoreCurrentDpiStage(int stage) override;
  void StoreSystemSettings(const MouseSystemSettings& settings) override;
  void CommitSettings(bool write) override;

  // KeyAssignmentControl
  int DeviceKind() const override;
  std::vector<KeyAssignmentPair> KeyList() const override;
  std::vector<std::string> MacroNames() const override;
  bool ProfileReadable() const override;
  void SetKeyEntry(int index, const KeyAssignmentPair& pair) override;
  void ApplyKeyAssignments() override;

  // MacroKeysControl
  std::string CurrentProfileDocument() const override { return view_.profilePath; }
  bool KeysUseMacro(int number) const override;
  void MacroRemoved(int number) override;
  void SetMacroNames(const std::vector<std::string>& names) override;

  // RecoilControl
  void DownloadShootData() override;

 signals:
  // A new view is in hand.
  void viewChanged();
  // The outcome of a change the user made.
  void reported(const vorlin::DeviceReport& report);

 private:
  void TakeView(const DeviceView& view);
  void TakeReport(const DeviceReport& report);
  // What the settings page stored and has not committed yet.
  struct PendingSettings {
    std::optional<std::vector<DpiStage>> stages;
    std::optional<int> current;
    std::optional<MouseSystemSettings> system;
  };

  // Gone once the program stops its devices; commands then go nowhere.
  QPointer<CHalvexUSBDevice> device_;
  DeviceView view_;
  uint64_t sent_ = 0;
  PendingSettings pending_;
  // Reports wait for the view that shows their outcome.
  std::vector<DeviceReport> reports_;
  // What the device hands over from its thread arrives here.
  Mailbox* inbox_;
};

}  // namespace vorlin
