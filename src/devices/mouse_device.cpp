#include "devices/mouse_device.h"

#include <filesystem>
#include <fstream>

#include "devices/lighting_worker.h"
#include "hid/device_link.h"
#include "platform/log.h"
#include "profiles/gun_document.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/light_name_lists.h"
#include "profiles/macro_documents.h"
#include "profiles/profile_folders.h"

namespace vorlin {

namespace {

constexpr uint16_t kEventResync = 0x0401;
constexpr uint16_t kEventReload = 0x0402;
constexpr uint16_t kEventClick = 0x0403;
constexpr uint8_t kEventProfileStage = 0x11;
constexpr uint8_t kEventProfile = 0x10;
constexpr uint8_t kReactiveEffect = 6;
constexpr uint16_t kMacroUnit = 128;

const char* const kMacroConfig = "macro.config";
// Present while the profile's settings record waits for the mouse (settings_pending_).
const char* const kSettingsPendingMark = "settings.pending";

}  // namespace

CHalvexMouseDevice::CHalvexMouseDevice(const ProductEntry& product, ProfileFolders folders)
    : CHalvexUSBDevice(product, std::move(folders)), random_(std::random_device{}()) {
  // A change that waited for the mouse when the program last ended waits still.
  std::error_code error;
  settings_pending_ = std::filesystem::exists(UserFile(kSettingsPendingMark), error);
}

void CHalvexMouseDevice::SetSettingsPending(bool pending) {
  if (settings_pending_ == pending) return;
  settings_pending_ = pending;
  const std::string mark = UserFile(kSettingsPendingMark);
  std::error_code error;
  if (pending) {
    std::ofstream(mark, std::ios::trunc);  // an empty file: its presence is the mark
  } else {
    std::filesystem::remove(mark, error);
  }
  if (std::filesystem::exists(mark, error) != pending)
    qCWarning(lcVorlin) << "cannot note the mouse's waiting settings in" << mark.c_str();
}

// The readers and the preview call into this object: they are stopped before its members go.
CHalvexMouseDevice::~CHalvexMouseDevice() {
  if (preview_) preview_->Stop();
  Shutdown();
}

int CHalvexMouseDevice::ProbeLink() {
  return LinkOpen() && OnReceiver() && Link().ProbeWireless() ? 1 : 0;
}

bool CHalvexMouseDevice::ReceiverCheck() {
  return !OnReceiver() || Link().ProbeWireless();
}

bool CHalvexMouseDevice::LinkCheck() {
  return LinkOpen() && ReceiverCheck();
}

std::string CHalvexMouseDevice::UserFile(const std::string& name) const {
  const std::string folder = UserFolder();
  return folder.empty() ? std::string() : folder + name;
}

int CHalvexMouseDevice::MacroCount() const {
  const Json::Value config = JsonFileIo::ReadJsonFile(UserFile(kMacroConfig));
  const Json::Value& list = Member(config, "MacroInfo");
  return list.isArray() ? static_cast<int>(list.size()) : 0;
}

// ---- Reading the mouse ----

void CHalvexMouseDevice::ReadDeviceState() {
  ReadDeviceTables();
  // Key changes that could not be written stay the profile's: the mouse's codes do not replace
  // them, and they are written now.
  const bool write_keys = keys_pending_ && tables_read_;
  if (write_keys) take_profile_keys_ = true;
  LoadProfile();
  ReadParamRecord(nullptr);
  if (write_keys) Report(DeviceReport::Action::kKeys, kLinkOk, WriteMacrosAndKeys());
  NoteDeviceRead();
  PublishView();
  StartPreview();
}

bool CHalvexMouseDevice::ReadDeviceTables() {
  if (!LinkCheck()) return false;
  DeviceLink& link = Link();
  link.BeginConfig();
  // A failed step ends the configuration the mouse was put into, unless the mouse has stopped
  // answering (then another command would only wait out its timeout again).
  const auto stop = [&link](int result) {
    if (result != kLinkNoExchange) link.EndConfig();
    return false;
  };
  std::array<uint8_t, kDeviceInfoSize> info{};
  if (const int result = link.ReadDeviceInfo(info); result != kLinkOk) return stop(result);
  const int key_count = info[5];
  // A key count beyond what a key table holds (170 keys) is refused here: the tables stay.
  if (!link.SetBlockSize(static_cast<uint32_t>(key_count) * kKeyCodeBytes)) {
    qCWarning(lcVorlin) << "mouse reports" << key_count << "keys, more than a key table holds";
    link.EndConfig();
    return false;
  }
  CheckFirmware();
  std::array<uint8_t, kKeyTableSize> defaults{};
  if (const int result = link.ReadDefaultKeyTable(defaults); result != kLinkOk) return stop(result);
  device_info_ = info;
  default_key_table_ = defaults;
  std::array<uint8_t, kKeyTableSize> current{};
  link.ReadKeyTable(current, 0);
  key_table_ = current;
  profile_.SetDeviceKeyTable(key_table_);
  link.EndConfig();
  tables_read_ = true;

  slot_map_ = BuildButtonSlotMap(default_key_table_, key_count);
  profile_.SetKeyIndexMap(slot_map_);
  return true;
}

void CHalvexMouseDevice::CheckFirmware() {
  const HidAttributes attributes = Link().WiredInterface().Attributes();
  if (attributes.VendorID == kFirmwareVendorId && attributes.ProductID == kFirmwareProductId &&
      attributes.VersionNumber < kFirmwareNoticeBelow) {
    emit firmwareNotice(attributes.ProductID, attributes.VersionNumber);
  }
}

void CHalvexMouseDevice::ResyncFromDevice() {
  ReadParamRecord(nullptr);
  PublishView();
}

int CHalvexMouseDevice::ReadParamRecord(int* profile) {
  ClearLightingHold();
  if (!LinkCheck()) return 0;
  DeviceLink& link = Link();
  uint8_t current = 0;
  if (link.ReadParams(std::span<uint8_t>(&current, 1), 0) != kLinkOk) return 0;
  const std::optional<uint16_t> offset = MouseParamRecord::Offset(current);
  std::array<uint8_t, MouseParamRecord::kSize> read{};
  if (!offset || link.ReadParams(read, *offset) != kLinkOk) return 0;
  if (profile) *profile = current;
  record_.TakeRead(read, current);
  if (settings_pending_) {
    // The user's changes made while the mouse could not take them are the profile's: the mouse
    // gets them (on the record just read, so its other bytes stay its own). Until it does, the
    // profile keeps them and the view shows them.
    if (WriteParamRecord(0, 0) == kLinkOk) Report(DeviceReport::Action::kSettings, kLinkOk);
    return 1;
  }

  light_state_ = record_.LightState();
  const LightWords words =
      LightSettingsToWords(WithMouseLightState(GetLightSettings(), light_state_));
  // Also stores them into the profile.
  SetLightWords(words);

  mouse_settings_ = record_.WithSystemSettings(profile_.GetMouseSettings());
  dpi_stages_ = record_.DpiStages();
  current_dpi_stage_ = record_.CurrentDpiStage();
  profile_.SetMouseSettings(mouse_settings_);
  profile_.SetDpiStages(dpi_stages_);
  profile_.SetCurrentDpiStage(current_dpi_stage_);
  SaveProfile();
  return 1;
}

void CHalvexMouseDevice::PollStatus() {
  if (!LinkOpen() || WindowHidden()) return;
  if (!ReceiverCheck()) return;
  std::array<uint8_t, kPowerStatusSize> status{};
  if (Link().ReadStatus(status, 0) != kLinkOk) return;
  status[3] = OnReceiver() ? 1 : 0;
  if (status_read_ && status == status_) return;
  status_ = status;
  status_read_ = true;
  PublishView();
}

// ---- Writing the mouse ----

int CHalvexMouseDevice::WriteParamRecord(int profile, int value) {
  const std::optional<uint16_t> offset = MouseParamRecord::Offset(profile);
  if (!offset) return kLinkBadArgument;
  // Nothing can be written over a closed link: that is not a success.
  if (!LinkCheck()) {
    SetSettingsPending(true);
    return kLinkNoExchange;
  }
  MouseRecordSettings settings;
  settings.light = profile_.GetLightSettings();
  settings.system = profile_.GetMouseSettings();
  settings.dpi_stages = profile_.GetDpiStages();
  settings.current_dpi_stage = profile_.GetCurrentDpiStage();
  const MouseParamRecord::Bytes bytes = record_.ForWrite(static_cast<uint8_t>(value), settings);
  const int written = SendParamRecord(bytes, *offset);
  SetSettingsPending(written != kLinkOk);
  if (written == kLinkOk) record_.NoteWritten(bytes);
  return written;
}

int CHalvexMouseDevice::SendParamRecord(const MouseParamRecord::Bytes& bytes, uint16_t offset) {
  DeviceLink& link = Link();
  link.BeginConfig();
  if (!ReceiverCheck()) return kLinkNoExchange;
  const int written = link.WriteParams(bytes, offset);
  if (!ReceiverCheck()) return kLinkNoExchange;
  link.EndConfig();
  return written;
}

int CHalvexMouseDevice::StoreKeyAssignments(int page, const std::vector<KeyAssignmentPair>& keys) {
  return WriteKeyTable(page, keys) == kLinkOk ? 1 : 0;
}

int CHalvexMouseDevice::WriteKeyTable(int page, const std::vector<KeyAssignmentPair>& keys) {
  if (!LinkCheck()) return kLinkNoExchange;
  DeviceLink& link = Link();
  std::array<uint8_t, kDeviceInfoSize> info{};
  if (const int read = link.ReadDeviceInfo(info); read != kLinkOk) return read;
  // Without the factory table there is nothing to build the table from: writing would clear
  // every key of the mouse.
  if (!tables_read_) {
    qCWarning(lcVorlin) << "mouse key table not written: the factory table has not been read";
    return kLinkBadArgument;
  }
  const int key_count = info[5];
  if (!link.SetBlockSize(static_cast<uint32_t>(key_count) * kKeyCodeBytes)) {
    qCWarning(lcVorlin) << "mouse reports" << key_count << "keys, more than a key table holds";
    return kLinkBadArgument;
  }
  device_info_ = info;
  const std::vector<uint8_t> table =
      BuildKeyTable(default_key_table_, key_count, slot_map_, keys, MacroCount());
  if (!LinkCheck()) return kLinkNoExchange;
  link.BeginConfig();
  if (!ReceiverCheck()) return kLinkNoExchange;
  const int written = table.empty() ? kLinkOk : link.WriteKeyTable(table, page);
  if (!ReceiverCheck()) return kLinkNoExchange;
  link.EndConfig();
  return written;
}

std::vector<int> CHalvexMouseDevice::ListUsedMacros() const {
  return vorlin::ListUsedMacros(slot_map_, key_list_, MacroCount());
}

int CHalvexMouseDevice::DownloadMacros(const std::vector<int>& macros, int* link_result) {
  int ignored = kLinkOk;
  int& result = link_result ? *link_result : ignored;
  result = kLinkOk;
  if (macros.empty()) return 0;
  const Json::Value config = JsonFileIo::ReadJsonFile(UserFile(kMacroConfig));
  if (config.isNull()) {
    qCInfo(lcVorlin) << "no macro list: no macros are written to the mouse";
    return 0;
  }
  const Json::Value& list = Member(config, "MacroInfo");
  const std::string folder = UserFolder();
  std::vector<ImageBlock> blocks;
  std::vector<size_t> counts;
  for (const int number : macros) {
    ImageBlock block;
    if (number >= 0 && list.isArray() && static_cast<Json::ArrayIndex>(number) < list.size()) {
      const std::string guid = ReadString(list[static_cast<Json::ArrayIndex>(number)], "Guid");
      if (IsPlainFileName(guid + ".mac")) {
        const Json::Value macro = JsonFileIo::ReadJsonFile(folder + guid + ".mac");
        block = EncodeMacroEvents(Member(macro, "Events"));
      }
    }
    counts.push_back(block.size());
    blocks.push_back(std::move(block));
  }
  const size_t capacity = static_cast<size_t>(device_info_[6]) * kMacroUnit;
  if (const int overflow =
          ImageOverflow(DeviceImageSize(counts), capacity, ImageCapacityRule::kRefuseAbove)) {
    result = kWriteDoesNotFit;
    return overflow;
  }
  const std::optional<std::vector<uint8_t>> image = BuildDeviceImage(blocks);
  result = !image ? kWriteDoesNotFit : kLinkNoExchange;
  if (!image || !LinkCheck()) return -1;
  DeviceLink& link = Link();
  link.BeginConfig();
  if (!ReceiverCheck()) return -1;
  result = link.WriteMacroData(*image);
  if (!ReceiverCheck()) {
    result = kLinkNoExchange;
    return -1;
  }
  link.EndConfig();
  return result == kLinkOk ? 0 : -1;
}

MacroKeyWrite CHalvexMouseDevice::WriteMacrosAndKeys() {
  MacroKeyWrite outcome;
  int macro_result = kLinkOk;
  outcome.macros = DownloadMacros(ListUsedMacros(), &macro_result);
  // Macros that do not fit leave the keys as they were: the keys would call macros the mouse
  // does not hold.
  const int keys = outcome.macros <= 0 ? WriteKeyTable(0, key_list_) : kWriteDoesNotFit;
  outcome.keysWritten = keys == kLinkOk;
  outcome.result = FirstFailure({macro_result, keys});
  keys_pending_ = !outcome.keysWritten && outcome.macros <= 0;
  return outcome;
}

int CHalvexMouseDevice::DownloadShootData() {
  std::vector<ImageBlock> blocks;
  for (int n = 0; n < kGunCount; ++n) {
    const std::string path = UserFile(GunFileName(n));
    const Json::Value gun = path.empty() ? Json::Value() : JsonFileIo::ReadJsonFile(path);
    blocks.push_back(EncodeMacroEvents(Member(gun, "Events")));
  }
  const std::optional<std::vector<uint8_t>> image = BuildDeviceImage(blocks);
  if (!image) return kWriteDoesNotFit;
  if (!LinkCheck()) return kLinkNoExchange;
  DeviceLink& link = Link();
  link.BeginConfig();
  if (!ReceiverCheck()) return kLinkNoExchange;
  const int written = link.WriteShootData(*image);
  if (!ReceiverCheck()) return kLinkNoExchange;
  link.EndConfig();
  return written;
}

// ---- User actions ----

void CHalvexMouseDevice::SetKeyEntry(int index, const KeyAssignmentPair& pair) {
  if (index < 0 || static_cast<size_t>(index) >= key_list_.size()) return;
  key_list_[static_cast<size_t>(index)] = pair;
  profile_.SetKeyList(key_list_);
  SaveProfile();
}

void CHalvexMouseDevice::ApplyKeyAssignments() {
  const MacroKeyWrite written = WriteMacrosAndKeys();
  SaveProfile();
  Report(DeviceReport::Action::kKeys, kLinkOk, written);
}

void CHalvexMouseDevice::StoreDpiStages(const std::vector<DpiStage>& stages) {
  dpi_stages_ = stages;
  profile_.SetDpiStages(stages);
}

void CHalvexMouseDevice::StoreCurrentDpiStage(int stage) {
  current_dpi_stage_ = stage;
  profile_.SetCurrentDpiStage(stage);
}

void CHalvexMouseDevice::StoreSystemSettings(const MouseSystemSettings& settings) {
  mouse_settings_ = settings;
  profile_.SetMouseSettings(settings);
}

void CHalvexMouseDevice::CommitSettings(bool write) {
  SaveProfile();
  if (write) Report(DeviceReport::Action::kSettings, WriteParamRecord(0, 0));
}

void CHalvexMouseDevice::MacroRemoved(int number) {
  LoadNameLists();
  if (!RenumberMacroCalls(key_list_, number)) return;
  profile_.SetKeyList(key_list_);
  SaveProfile();
  ApplyKeyAssignments();
}

void CHalvexMouseDevice::SetMacroNames(const std::vector<std::string>& names) {
  macro_names_ = names;
}

void CHalvexMouseDevice::SendShootData() {
  Report(DeviceReport::Action::kRecoil, DownloadShootData());
}

// ---- Profile ----

int CHalvexMouseDevice::LoadProfile() {
  const std::string& path = profile_.GetProfilePath();
  if (!path.empty()) profile_.LoadDevice(path);
  if (take_profile_keys_) {
    key_list_ = profile_.GetKeyList();
    take_profile_keys_ = false;
  } else {
    key_list_ = profile_.GetDeviceKeyList();
    profile_.SetKeyList(key_list_);
  }
  ApplyLighting();
  TakeProfileSettings();
  return 1;
}

void CHalvexMouseDevice::TakeProfileSettings() {
  dpi_stages_ = profile_.GetDpiStages();
  current_dpi_stage_ = profile_.GetCurrentDpiStage();
  mouse_settings_ = profile_.GetMouseSettings();
}

void CHalvexMouseDevice::ReloadProfile() {
  const std::string& path = profile_.GetProfilePath();
  if (!path.empty()) profile_.LoadDevice(path);
  key_list_ = profile_.GetKeyList();
  ApplyLighting();
  TakeProfileSettings();
  SaveProfile();
  PublishView();
}

int CHalvexMouseDevice::ApplyLighting() {
  LoadLightingFromProfile();
  // The preview plays the effect only: the per-key light list is not laid over it.
  Lighting().SetOverlays({});
  const uint8_t effect_before = light_state_.effect;
  light_state_ = WithLightSettings(light_state_, GetLightSettings());
  if (light_state_.effect != effect_before) {
    click_pending_.store(false);
    reactive_reset_.store(true);
    RequestEffectRestart();
  }
  return 1;
}

void CHalvexMouseDevice::LoadNameLists() {
  macro_names_.clear();
  const Json::Value config = JsonFileIo::ReadJsonFile(UserFile(kMacroConfig));
  const Json::Value& list = Member(config, "MacroInfo");
  if (list.isArray()) {
    for (const Json::Value& macro : list) macro_names_.push_back(ReadString(macro, "MacroName"));
  }
  CHalvexUSBDevice::LoadNameLists();
  std::vector<int> codes;
  codes.reserve(BuiltInLightModes().size());
  for (const LightModeName& mode : BuiltInLightModes()) codes.push_back(mode.value);
  record_.SetEffectCodes(std::move(codes));
}

void CHalvexMouseDevice::DropMissingMacroKeys() {
  LoadNameLists();
  if (DropMissingMacroCalls(key_list_, static_cast<int>(macro_names_.size())))
    profile_.SetKeyList(key_list_);
}

void CHalvexMouseDevice::FillView(DeviceView& view) const {
  MouseView mouse;
  mouse.deviceInfo = device_info_;
  mouse.keyList = key_list_;
  mouse.macroNames = macro_names_;
  mouse.dpiStages = dpi_stages_;
  mouse.currentDpiStage = current_dpi_stage_;
  mouse.system = mouse_settings_;
  mouse.keysPending = keys_pending_;
  view.mouse = std::move(mouse);
  if (status_read_) view.status = status_;
}

// ---- Preview ----

void CHalvexMouseDevice::StartPreview() {
  if (!preview_) {
    preview_ = std::make_unique<LightingWorker>(
        Link(), Lighting(), LightingDevice::kMouse, nullptr, "preview worker of the mouse ends",
        [this](EffectStepKind step, EffectState& state, FrameView frame,
               const EffectParams& params) {
          if (step != EffectStepKind::kReactive) return;
          if (reactive_reset_.exchange(false)) reactive_.Clear();
          if (click_pending_.exchange(false)) {
            TriggerReactive(reactive_, state.cells, frame.size(),
                            [this] { return static_cast<uint8_t>(random_() % kReactivePositions); });
          }
          ReactiveStep(reactive_, state.cells, frame, params);
        });
  }
  preview_->Start();
}

bool CHalvexMouseDevice::PreviewWorkerRunning() const {
  return preview_ && preview_->Running();
}

// ---- Events (on the reader threads) ----

void CHalvexMouseDevice::OnDeviceEvent(uint16_t code, std::span<const uint8_t>) {
  if (code == kEventResync || code == kEventReload) {
    qCDebug(lcVorlin) << "the mouse asks to be read again";
    Post([this] { Scheduler().Start(DeviceScheduler::kResync, ResyncDelayMs()); });
    return;
  }
  // Clicks come by cable; through the receiver 0x0403 counts among the setting events.
  const bool by_cable = !OnReceiver();
  if (code == kEventClick && by_cable) {
    OnClick();
    return;
  }
  if (code > (by_cable ? kEventClick : kEventReload))
    Post([this, code] { OnSettingEvent(code); });
}

void CHalvexMouseDevice::OnClick() {
  if (GetLightSettings().mode != kReactiveEffect) return;
  click_pending_.store(true);
  Lighting().Changed();
}

// On the object's thread: a profile or DPI-stage button of the mouse was pressed.
void CHalvexMouseDevice::OnSettingEvent(uint16_t code) {
  if (!LinkOpen()) return;
  const uint8_t high = static_cast<uint8_t>(code >> 8);
  const uint8_t low = static_cast<uint8_t>(code);
  if (high == kEventProfileStage) {
    light_state_.profile = low & 0x0F;
    record_.SetCurrentDpiStage(low >> 4);
  } else if (high == kEventProfile) {
    light_state_.profile = low & 0x0F;
  }
  PublishView();
}

}  // namespace vorlin
