#pragma once

// The mouse page's side of its panels: what the key-assignment panel and the recoil panel ask of
// the mouse, answered by the mouse device object. Each panel sees only its own small interface.

#include "key_set/key_assignment_host.h"
#include "macro/macro_host.h"
#include "mouse_settings/mouse_settings_host.h"
#include "shoot/shoot_host.h"

namespace vorlin {

class CHalvexMouseDevice;

class MouseKeyAssignmentHost : public KeyAssignmentHost {
 public:
  explicit MouseKeyAssignmentHost(CHalvexMouseDevice& mouse) : mouse_(mouse) {}

  int DeviceKind() const override { return kKeySetMouse; }
  std::vector<KeyAssignmentPair> KeyList() const override;
  int SelectedKey() const override;
  void MarkKey(int index) override;
  void SetSelectedKeyEntry(const KeyAssignmentPair& pair) override;
  void RefreshKeyList() override;
  bool ProfileReadable() const override;
  std::vector<int> ListUsedMacros() const override;
  int DownloadMacros(const std::vector<int>& macros) override;
  bool StoreKeyAssignments() override;
  void SaveProfile() override;
  void ShowChangedKeys() override;
  void ShowMessage(const QString& text_key, std::optional<int> argument) override;

 private:
  CHalvexMouseDevice& mouse_;
};

class MouseMacroHost : public MacroHost {
 public:
  explicit MouseMacroHost(CHalvexMouseDevice& mouse) : mouse_(mouse) {}

  bool StartCapture(int mode, CaptureCallback callback) override;
  void StopCapture() override;
  std::string CurrentProfileDocument() override;
  bool CurrentKeysUseMacro(int number) override;
  void MacroRemoved(int number) override;
  void MacroListChanged(const std::vector<std::string>& names) override;
  void MacroEventsChanged(int number) override;
  int ShowMessage(const QString& text_key, bool question) override;
  QString OpenFile(const QString& filter) override;
  QString SaveFile(const QString& filter) override;

 private:
  CHalvexMouseDevice& mouse_;
};

class MouseSettingsPageHost : public MouseSettingsHost {
 public:
  explicit MouseSettingsPageHost(CHalvexMouseDevice& mouse) : mouse_(mouse) {}

  std::vector<uint8_t> DeviceInfo() const override;
  std::vector<DpiStage> DpiStages() const override;
  int CurrentDpiStage() const override;
  MouseSystemSettings SystemSettings() const override;
  void StoreDpiStages(const std::vector<DpiStage>& stages) override;
  void StoreCurrentDpiStage(int stage) override;
  void StoreSystemSettings(const MouseSystemSettings& settings) override;
  void SaveProfile() override;
  void WriteParamRecord() override;
  std::optional<uint32_t> ChooseColour(uint32_t current) override;

 private:
  CHalvexMouseDevice& mouse_;
};

class MouseShootHost : public ShootHost {
 public:
  explicit MouseShootHost(CHalvexMouseDevice& mouse) : mouse_(mouse) {}

  int DownloadShootData() override;
  void ShowShootNotice(QWidget* owner, const QString& text_key) override;
  QString OpenShootFile(QWidget* owner, const QString& filter) override;
  QString SaveShootFile(QWidget* owner, const QString& filter) override;

 private:
  CHalvexMouseDevice& mouse_;
};

}  // namespace vorlin
