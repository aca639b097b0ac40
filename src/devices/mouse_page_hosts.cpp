#include "devices/mouse_page_hosts.h"

#include "devices/mouse_device.h"
#include "input/device_hook.h"
#include "key_set/key_set_messages.h"
#include "lighting/color_select_wnd.h"
#include "profile_bar/common_file_dialogs.h"
#include "profiles/json_file_io.h"
#include "profiles/macro_documents.h"
#include "profiles/profile_folders.h"
#include "shell/message_box.h"

namespace vorlin {

// ---- Key assignment ----

std::vector<KeyAssignmentPair> MouseKeyAssignmentHost::KeyList() const {
  return mouse_.KeyList();
}

int MouseKeyAssignmentHost::SelectedKey() const {
  return mouse_.SelectedKey();
}

void MouseKeyAssignmentHost::MarkKey(int index) {
  mouse_.MarkKeys(index);
}

void MouseKeyAssignmentHost::SetSelectedKeyEntry(const KeyAssignmentPair& pair) {
  mouse_.SetKeyEntry(mouse_.SelectedKey(), pair);
}

void MouseKeyAssignmentHost::RefreshKeyList() {
  mouse_.ShowKeyInformation();
}

bool MouseKeyAssignmentHost::ProfileReadable() const {
  const std::string& path = mouse_.MouseProfile().GetProfilePath();
  return !path.empty() && JsonFileIo::ReadJsonFile(path).isObject();
}

std::vector<int> MouseKeyAssignmentHost::ListUsedMacros() const {
  return mouse_.ListUsedMacros();
}

int MouseKeyAssignmentHost::DownloadMacros(const std::vector<int>& macros) {
  return mouse_.DownloadMacros(macros);
}

bool MouseKeyAssignmentHost::StoreKeyAssignments() {
  return mouse_.StoreKeyAssignments(0, mouse_.KeyList()) == 1;
}

void MouseKeyAssignmentHost::SaveProfile() {
  mouse_.SaveProfile();
}

void MouseKeyAssignmentHost::ShowChangedKeys() {
  mouse_.ShowChangedKeys();
}

void MouseKeyAssignmentHost::ShowMessage(const QString& text_key, std::optional<int> argument) {
  ShowMessageBox(mouse_.window(), QStringLiteral("tips_text"),
                 KeySetMessageText(text_key, argument), false);
}

// ---- Settings ----

std::vector<uint8_t> MouseSettingsPageHost::DeviceInfo() const {
  return {mouse_.DeviceInfo().begin(), mouse_.DeviceInfo().end()};
}

std::vector<DpiStage> MouseSettingsPageHost::DpiStages() const {
  return mouse_.DpiStages();
}

int MouseSettingsPageHost::CurrentDpiStage() const {
  return mouse_.CurrentDpiStage();
}

MouseSystemSettings MouseSettingsPageHost::SystemSettings() const {
  return mouse_.SystemSettings();
}

void MouseSettingsPageHost::StoreDpiStages(const std::vector<DpiStage>& stages) {
  mouse_.StoreDpiStages(stages);
}

void MouseSettingsPageHost::StoreCurrentDpiStage(int stage) {
  mouse_.StoreCurrentDpiStage(stage);
}

void MouseSettingsPageHost::StoreSystemSettings(const MouseSystemSettings& settings) {
  mouse_.StoreSystemSettings(settings);
}

void MouseSettingsPageHost::SaveProfile() {
  mouse_.SaveProfile();
}

void MouseSettingsPageHost::WriteParamRecord() {
  mouse_.WriteParamRecord(0, 0, 0, 0, 0);
}

std::optional<uint32_t> MouseSettingsPageHost::ChooseColour(uint32_t current) {
  const ColorSelectResult result = CColorSelectWnd::SelectColour(
      mouse_.window(), QColor::fromRgb(current), false, mouse_.logicalDpiX());
  if (result.code != kColorSelectChosen) return std::nullopt;
  return result.colour.rgb() & 0x00FFFFFFu;
}

// ---- Macros ----

bool MouseMacroHost::StartCapture(int mode, CaptureCallback callback) {
  CDeviceHook* capture = mouse_.InputCapture();
  if (!capture) return false;
  return capture->Start(0, mode, std::move(callback), true, true) == 1;
}

void MouseMacroHost::StopCapture() {
  if (CDeviceHook* capture = mouse_.InputCapture()) capture->Stop();
}

std::string MouseMacroHost::CurrentProfileDocument() {
  return mouse_.MouseProfile().GetProfilePath();
}

bool MouseMacroHost::CurrentKeysUseMacro(int number) {
  return KeysUseMacro(mouse_.KeyList(), number);
}

void MouseMacroHost::MacroRemoved(int number) {
  mouse_.MacroRemoved(number);
}

void MouseMacroHost::MacroListChanged(const std::vector<std::string>& names) {
  mouse_.SetMacroNames(names);
}

void MouseMacroHost::MacroEventsChanged(int number) {
  // A key playing the macro makes the mouse's copy out of date until the keys are applied.
  if (KeysUseMacro(mouse_.KeyList(), number)) mouse_.MarkKeyChangesPending();
}

int MouseMacroHost::ShowMessage(const QString& text_key, bool question) {
  return ShowMessageBox(mouse_.window(), QStringLiteral("tips_text"), text_key, true, 96,
                        question ? kMessageConfirmCancel : kMessageConfirmOnly);
}

QString MouseMacroHost::OpenFile(const QString& filter) {
  return QtFileDialogs().OpenFile(mouse_.window(), filter);
}

QString MouseMacroHost::SaveFile(const QString& filter) {
  return QtFileDialogs().SaveFile(mouse_.window(), filter);
}

// ---- Recoil patterns ----

int MouseShootHost::DownloadShootData() {
  return mouse_.DownloadShootData();
}

void MouseShootHost::ShowShootNotice(QWidget* owner, const QString& text_key) {
  ShowShootNoticeBox(owner, text_key);
}

QString MouseShootHost::OpenShootFile(QWidget* owner, const QString& filter) {
  return QtFileDialogs().OpenFile(owner, filter);
}

QString MouseShootHost::SaveShootFile(QWidget* owner, const QString& filter) {
  return QtFileDialogs().SaveFile(owner, filter);
}

}  // namespace vorlin
