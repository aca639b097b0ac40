#include "devices/device_client.h"


#include "devices/mailbox.h"
#include "devices/mouse_device.h"
#include "devices/usb_device.h"
#include "profiles/json_file_io.h"
#include "profiles/macro_documents.h"

namespace vorlin {

namespace {

// The mouse's own operations; a device of another family ignores them.
void OnMouse(CHalvexUSBDevice& device, const std::function<void(CHalvexMouseDevice&)>& work) {
  if (auto* mouse = qobject_cast<CHalvexMouseDevice*>(&device)) work(*mouse);
}

}  // namespace

DeviceClient::DeviceClient(CHalvexUSBDevice& device, DeviceView initial, QObject* parent)
    : QObject(parent), device_(&device), view_(std::move(initial)), inbox_(new Mailbox(this)) {
  sent_ = view_.commandsDone;
  // The device speaks on its own thread; what it says is handed over through the mailbox.
  connect(
      &device, &CHalvexUSBDevice::viewChanged, this,
      [this](const DeviceView& view) { inbox_->RunOrPost([this, view] { TakeView(view); }); },
      Qt::DirectConnection);
  connect(
      &device, &CHalvexUSBDevice::reported, this,
      [this](const DeviceReport& report) {
        inbox_->RunOrPost([this, report] { TakeReport(report); });
      },
      Qt::DirectConnection);
}

void DeviceClient::TakeView(const DeviceView& view) {
  // A view from before the device saw every command would undo changes on the page.
  if (view.commandsDone < sent_) return;
  view_ = view;
  emit viewChanged();
  for (const DeviceReport& report : std::exchange(reports_, {})) emit reported(report);
}

void DeviceClient::TakeReport(const DeviceReport& report) {
  // The device makes a view right after every command and every read, so the report is not kept
  // waiting for long.
  reports_.push_back(report);
}

void DeviceClient::Post(std::function<void(CHalvexUSBDevice&)> command) {
  CHalvexUSBDevice* device = device_.data();
  if (!device) return;
  ++sent_;
  auto run = [device, command = std::move(command)] {
    device->RunCommand([device, &command] { command(*device); });
  };
  device->RunOrPost(std::move(run));
}

// ---- Lighting and profiles ----

void DeviceClient::SetLighting(const LightSettings& settings, bool leave_sync) {
  view_.lighting.light = settings;
  Post([settings, leave_sync](CHalvexUSBDevice& device) { device.SetLighting(settings, leave_sync); });
}

void DeviceClient::SetAudioLighting(const AudioLightSettings& settings) {
  view_.lighting.audio = settings;
  Post([settings](CHalvexUSBDevice& device) { device.SetAudioLighting(settings); });
}

void DeviceClient::ApplyProfile(const std::string& profile_id, const std::string& document_path) {
  view_.profileId = profile_id;
  view_.profilePath = document_path;
  Post([profile_id, document_path](CHalvexUSBDevice& device) {
    device.ApplyProfile(profile_id, document_path);
  });
}

void DeviceClient::ResetToFactory() {
  Post([](CHalvexUSBDevice& device) { device.ResetToFactory(); });
}

// ---- Mouse settings ----

std::vector<uint8_t> DeviceClient::DeviceInfo() const {
  if (!view_.mouse) return {};
  return {view_.mouse->deviceInfo.begin(), view_.mouse->deviceInfo.end()};
}

std::vector<DpiStage> DeviceClient::DpiStages() const {
  return view_.mouse ? view_.mouse->dpiStages : std::vector<DpiStage>{};
}

int DeviceClient::CurrentDpiStage() const {
  return view_.mouse ? view_.mouse->currentDpiStage : 0;
}

MouseSystemSettings DeviceClient::SystemSettings() const {
  return view_.mouse ? view_.mouse->system : MouseSystemSettings{};
}

void DeviceClient::StoreDpiStages(const std::vector<DpiStage>& stages) {
  if (!view_.mouse) return;
  view_.mouse->dpiStages = stages;
  pending_.stages = stages;
}

void DeviceClient::StoreCurrentDpiStage(int stage) {
  if (!view_.mouse) return;
  view_.mouse->currentDpiStage = stage;
  pending_.current = stage;
}

void DeviceClient::StoreSystemSettings(const MouseSystemSettings& settings) {
  if (!view_.mouse) return;
  view_.mouse->system = settings;
  pending_.system = settings;
}

void DeviceClient::CommitSettings(bool write) {
  PendingSettings change = std::exchange(pending_, {});
  Post([change, write](CHalvexUSBDevice& device) {
    OnMouse(device, [&](CHalvexMouseDevice& mouse) {
      if (change.stages) mouse.StoreDpiStages(*change.stages);
      if (change.current) mouse.StoreCurrentDpiStage(*change.current);
      if (change.system) mouse.StoreSystemSettings(*change.system);
      mouse.CommitSettings(write);
    });
  });
}

// ---- Keys and macros ----

int DeviceClient::DeviceKind() const {
  return view_.mouse ? kKeySetMouse : kKeySetKeyboard;
}

std::vector<KeyAssignmentPair> DeviceClient::KeyList() const {
  return view_.mouse ? view_.mouse->keyList : std::vector<KeyAssignmentPair>{};
}

std::vector<std::string> DeviceClient::MacroNames() const {
  return view_.mouse ? view_.mouse->macroNames : std::vector<std::string>{};
}

bool DeviceClient::ProfileReadable() const {
  return !view_.profilePath.empty() && JsonFileIo::ReadJsonFile(view_.profilePath).isObject();
}

void DeviceClient::SetKeyEntry(int index, const KeyAssignmentPair& pair) {
  if (!view_.mouse || index < 0 || static_cast<size_t>(index) >= view_.mouse->keyList.size())
    return;
  view_.mouse->keyList[static_cast<size_t>(index)] = pair;
  Post([index, pair](CHalvexUSBDevice& device) {
    OnMouse(device, [&](CHalvexMouseDevice& mouse) { mouse.SetKeyEntry(index, pair); });
  });
}

void DeviceClient::ApplyKeyAssignments() {
  Post([](CHalvexUSBDevice& device) {
    OnMouse(device, [](CHalvexMouseDevice& mouse) { mouse.ApplyKeyAssignments(); });
  });
}

bool DeviceClient::KeysUseMacro(int number) const {
  return view_.mouse && vorlin::KeysUseMacro(view_.mouse->keyList, number);
}

void DeviceClient::MacroRemoved(int number) {
  if (view_.mouse) RenumberMacroCalls(view_.mouse->keyList, number);
  Post([number](CHalvexUSBDevice& device) {
    OnMouse(device, [number](CHalvexMouseDevice& mouse) { mouse.MacroRemoved(number); });
  });
}

void DeviceClient::SetMacroNames(const std::vector<std::string>& names) {
  if (view_.mouse) view_.mouse->macroNames = names;
  // The key panel lists the macros at once, not only when the device has taken them.
  emit viewChanged();
  Post([names](CHalvexUSBDevice& device) {
    OnMouse(device, [&names](CHalvexMouseDevice& mouse) { mouse.SetMacroNames(names); });
  });
}

void DeviceClient::DownloadShootData() {
  Post([](CHalvexUSBDevice& device) {
    OnMouse(device, [](CHalvexMouseDevice& mouse) { mouse.SendShootData(); });
  });
}

}  // namespace vorlin
