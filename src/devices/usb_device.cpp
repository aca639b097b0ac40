#include "devices/usb_device.h"


#include "devices/mailbox.h"
#include "hid/device_link.h"
#include "platform/log.h"
#include "profiles/basic_profile_data.h"
#include "profiles/json_file_io.h"
#include "profiles/light_name_lists.h"
#include "profiles/profile_list.h"

namespace vorlin {

namespace {

constexpr uint16_t kResyncRequest = 0x0401;

bool TwoWayFamily(DeviceFamily family) {
  return family == DeviceFamily::kMouse || family == DeviceFamily::kKeyboard;
}

}  // namespace

CHalvexUSBDevice::CHalvexUSBDevice(const ProductEntry& product, ProfileFolders folders)
    : product_(product),
      folders_(std::move(folders)),
      link_(std::make_unique<DeviceLink>()),
      inbox_(new Mailbox(this)),
      cable_events_(EventReaderExitLog(), EventReaderStopBound()),
      receiver_events_(EventReaderExitLog(), EventReaderStopBound()),
      scheduler_(*this, this) {
  qRegisterMetaType<DeviceView>();
  qRegisterMetaType<DeviceReport>();
  qRegisterMetaType<ConnectionKind>();
  lighting_.frame.Resize(static_cast<size_t>(std::max(product_.keyCount, 0)));
  setObjectName(QString::fromStdString(product_.dataName + "_device"));
}

CHalvexUSBDevice::~CHalvexUSBDevice() {
  Shutdown();
}

std::string CHalvexUSBDevice::EventReaderExitLog() const {
  return "event reader of the " + product_.dataName + " ends";
}

std::chrono::milliseconds CHalvexUSBDevice::EventReaderStopBound() const {
  return TwoWayFamily(product_.family) ? std::chrono::milliseconds(500)
                                       : std::chrono::milliseconds(1000);
}

std::string CHalvexUSBDevice::UserFolder() const {
  return UserDataFolder(folders_, product_.dataName);
}

void CHalvexUSBDevice::Initialise() {
  LoadCurrentProfile();
  LoadNameLists();
  LoadProfile();
}

void CHalvexUSBDevice::LoadCurrentProfile() {
  CBasicProfiledata& data = ProfileData();
  data.SetDeviceIndex(0);
  data.SetDefaultPath(DefaultDocumentPath(folders_, product_.dataName));
  data.SetLightConfigPath(LightConfigPath(folders_, product_.dataName, product_.lightConfigName));
  data.LoadLightConfig(data.GetLightConfigPath());
  // The profile list names the current profile; a first start makes "profile1".
  ProfileList list;
  list.SetFolders(UserFolder(), data.GetDefaultPath());
  list.Load();
  profile_id_ = list.CurrentId();
  if (profile_id_.empty()) return;
  const std::string path = ProfileDocumentPath(folders_, product_.dataName, profile_id_);
  data.SetProfilePath(path);
  data.LoadDevice(path);
  audio_light_ = data.GetAudioLightSettings();
}

// ---- Connection ----

bool CHalvexUSBDevice::BindCommandInterface(const std::string& path, bool receiver) {
  if (shut_down_ || link_->open.load()) return link_->open.load();
  const uint16_t kind = receiver && product_.receiver ? product_.receiver->kind : product_.cable.kind;
  bool opened = false;
  {
    std::lock_guard lock(link_->TransferLock());
    HidDevice& device = receiver ? link_->ReceiverInterface() : link_->WiredInterface();
    if (device.Open(path, true, true, true, false)) {
      link_->open.store(true);
      link_->SetConnectionMode(receiver ? 2 : 1);
      on_receiver_.store(receiver);
      kind_ = kind;
      opened = true;
    }
  }
  if (!opened) {
    qCWarning(lcVorlin) << "cannot open the command interface" << path.c_str();
    emit openFailed(QString::fromStdString(path));
    return false;
  }
  // By cable the device is there; through the receiver it is shown once it answers.
  if (!receiver) option_shown_ = true;
  NoteConnection();
  scheduler_.Start(DeviceScheduler::kStartUp, DeviceScheduler::kStartUpDelayMs);
  return true;
}

void CHalvexUSBDevice::SwitchConnection(bool to_cable, const std::string& path) {
  if (shut_down_) return;
  bool opened = false;
  {
    std::lock_guard lock(link_->TransferLock());
    link_->open.store(false);
    HidDevice& leaving = to_cable ? link_->ReceiverInterface() : link_->WiredInterface();
    HidDevice& joining = to_cable ? link_->WiredInterface() : link_->ReceiverInterface();
    // The receiver stays open while it waits behind the cable; a cable that is gone is closed.
    if (!to_cable) leaving.Close();
    joining.Close();
    if (!path.empty() && joining.Open(path, true, true, true, false)) {
      link_->open.store(true);
      link_->SetConnectionMode(to_cable ? 1 : 2);
      on_receiver_.store(!to_cable);
      kind_ = to_cable ? product_.cable.kind
                       : (product_.receiver ? product_.receiver->kind : product_.cable.kind);
      opened = true;
    }
  }
  if (!opened) {
    // The device cannot be reached either way now.
    DisconnectLink();
    return;
  }
  if (to_cable) {
    option_shown_ = true;
    NoteConnection();
    scheduler_.Start(DeviceScheduler::kStartUp, DeviceScheduler::kStartUpDelayMs);
    emit optionRequested(true);
    if (product_.statusPanel) PollStatus();
    return;
  }
  // Now through the receiver. The device behind it may be off: it is read when it answers, here
  // or later on the link watch, which also shows or hides its option.
  NoteConnection();
  if (ProbeLink()) {
    if (product_.statusPanel) PollStatus();
  } else {
    qCInfo(lcVorlin) << product_.dataName.c_str() << "does not answer through its receiver";
    RequestOption(false);
  }
  scheduler_.Start(DeviceScheduler::kLinkWatch, DeviceScheduler::kLinkWatchFirstMs);
  ReadDeviceState();
}

void CHalvexUSBDevice::DisconnectLink() {
  {
    std::lock_guard lock(link_->TransferLock());
    link_->open.store(false);
  }
  link_->WiredInterface().Close();
  link_->ReceiverInterface().Close();
  on_receiver_.store(false);
  kind_ = 0;
  option_shown_ = false;
  device_read_ = false;
  Disconnected();
  NoteConnection();
}

void CHalvexUSBDevice::Disconnected() {
  // The timers that need the link end on their own; the start-up retry must not outlive it.
  scheduler_.Kill(DeviceScheduler::kStartUp);
  scheduler_.Kill(DeviceScheduler::kLinkWatch);
}

void CHalvexUSBDevice::NoteConnection() {
  emit connectionChanged(Connection());
  PublishView();
}

ConnectionKind CHalvexUSBDevice::Connection() const {
  if (!LinkOpen()) return ConnectionKind::kNone;
  return OnReceiver() ? ConnectionKind::kReceiver : ConnectionKind::kCable;
}

bool CHalvexUSBDevice::LinkOpen() const {
  return link_->open.load();
}

void CHalvexUSBDevice::RequestOption(bool show) {
  option_shown_ = show;
  emit optionRequested(show);
}

EventInterface& CHalvexUSBDevice::EventSide(uint16_t kind) {
  return IsReceiverKind(kind) ? receiver_events_ : cable_events_;
}

const EventInterface& CHalvexUSBDevice::EventSide(uint16_t kind) const {
  return IsReceiverKind(kind) ? receiver_events_ : cable_events_;
}

void CHalvexUSBDevice::OpenEventInterface(const std::string& path, uint16_t kind) {
  if (shut_down_) return;
  EventSide(kind).Open(path, [this](uint16_t code, std::span<const uint8_t> report) {
    OnDeviceEvent(code, report);
  });
}

void CHalvexUSBDevice::CloseEventInterface(uint16_t kind) {
  EventSide(kind).Close();
}

bool CHalvexUSBDevice::EventInterfaceOpen(uint16_t kind) const {
  return EventSide(kind).IsOpen();
}

void CHalvexUSBDevice::OnDeviceEvent(uint16_t code, std::span<const uint8_t>) {
  if (code != kResyncRequest) return;
  qCDebug(lcVorlin) << product_.dataName.c_str() << "asks to be read again";
  const int delay = ResyncDelayMs();
  Post([this, delay] { scheduler_.Start(DeviceScheduler::kResync, delay); });
}

void CHalvexUSBDevice::Post(std::function<void()> work) {
  inbox_->Post(std::move(work));
}

void CHalvexUSBDevice::RunOrPost(std::function<void()> work) {
  inbox_->RunOrPost(std::move(work));
}

// ---- Window state ----

void CHalvexUSBDevice::SetWindowHidden(bool hidden) {
  window_hidden_.store(hidden && product_.statusPanel, std::memory_order_relaxed);
}

void CHalvexUSBDevice::SetHostLighting(bool on) {
  host_lighting_.store(on, std::memory_order_relaxed);
  if (on && kind_ == kKindKeyboard) link_->HostLightingOn();
}

void CHalvexUSBDevice::LeaveSynchronisedLighting() {
  link_->lightingHold.store(false);
  lighting_.Changed();
}

// ---- The page's side ----

DeviceView CHalvexUSBDevice::View() const {
  DeviceView view;
  view.commandsDone = commands_done_;
  view.connection = Connection();
  view.deviceRead = device_read_ && LinkOpen();
  view.profileId = profile_id_;
  view.profilePath = ProfileData().GetProfilePath();
  view.lighting.light = GetLightSettings();
  view.lighting.audio = audio_light_;
  view.lighting.builtinModes = builtin_modes_;
  view.lighting.customModes = custom_modes_;
  FillView(view);
  return view;
}

void CHalvexUSBDevice::PublishView() {
  emit viewChanged(View());
}

void CHalvexUSBDevice::RunCommand(const std::function<void()>& command) {
  if (!shut_down_) command();
  ++commands_done_;
  PublishView();
}

void CHalvexUSBDevice::Report(DeviceReport::Action action, int result) {
  emit reported(MakeDeviceReport(action, result, LinkOpen()));
}

void CHalvexUSBDevice::Report(DeviceReport::Action action, int record, const MacroKeyWrite& keys) {
  DeviceReport report = MakeDeviceReport(action, FirstFailure({record, keys.result}), LinkOpen());
  report.macroResult = keys.macros;
  report.keysWritten = keys.keysWritten;
  emit reported(report);
}

// ---- User actions ----

void CHalvexUSBDevice::SetLighting(const LightSettings& settings, bool leave_sync) {
  if (leave_sync) ClearLightingHold();
  SetLightWords(LightSettingsToWords(settings));
  SaveProfile();
  ApplyLighting();
  Report(DeviceReport::Action::kLighting, WriteParamRecord(0, 0));
}

void CHalvexUSBDevice::SetAudioLighting(const AudioLightSettings& settings) {
  audio_light_ = settings;
  ProfileData().SetAudioLightSettings(settings);
  SaveProfile();
  ApplyLighting();
}

void CHalvexUSBDevice::ApplyProfile(const std::string& profile_id,
                                    const std::string& document_path) {
  profile_id_ = profile_id;
  CBasicProfiledata& data = ProfileData();
  data.SetProfilePath(document_path);
  data.LoadDevice(document_path);
  audio_light_ = data.GetAudioLightSettings();
  WriteWholeProfile(DeviceReport::Action::kProfile);
}

void CHalvexUSBDevice::ResetToFactory() {
  CBasicProfiledata& data = ProfileData();
  const std::string profile_path = data.GetProfilePath();
  const Json::Value factory = data.LoadDevice(data.GetDefaultPath());
  data.SetProfilePath(profile_path);
  if (!data.SaveDevice(factory, profile_path))
    qCWarning(lcVorlin) << "the factory settings could not be written to the profile";
  data.LoadDevice(profile_path);
  audio_light_ = data.GetAudioLightSettings();
  WriteWholeProfile(DeviceReport::Action::kReset);
}

void CHalvexUSBDevice::WriteWholeProfile(DeviceReport::Action action) {
  // The profile's own settings, not the device's: the key list included.
  PrepareProfileSwitch();
  LoadProfile();
  DropMissingMacroKeys();
  PublishView();
  const int record = WriteParamRecord(0, 0);
  Report(action, record, WriteMacrosAndKeys());
}

void CHalvexUSBDevice::ReloadProfile() {
  CBasicProfiledata& data = ProfileData();
  data.LoadDevice(data.GetProfilePath());
  LoadProfile();
}

// ---- Lighting ----

LightSettings CHalvexUSBDevice::GetLightSettings() const {
  return LightSettingsFromWords(GetLightWords());
}

void CHalvexUSBDevice::SetLightWords(const LightWords& words) {
  lighting_.words.Store(words);
  // The profile keeps them too (ApplyLighting takes the lighting from there). Whether a new
  // effect starts from its beginning is the device class's choice (RequestEffectRestart).
  ProfileData().SetLightSettings(words.word0, words.word1, words.word2, words.word3);
  lighting_.Changed();
}

void CHalvexUSBDevice::ClearLightingHold() {
  link_->lightingHold.store(false);
  lighting_.Changed();
}

uint8_t CHalvexUSBDevice::LightingEffectCode(uint8_t effect_number) const {
  return effect_number;
}

void CHalvexUSBDevice::RequestEffectRestart() {
  lighting_.restart.store(true);
  lighting_.Changed();
}

void CHalvexUSBDevice::StartLightingWorker() {
  const std::optional<LightingDevice> kind = LightingKind();
  if (!kind || shut_down_) return;
  if (!lighting_worker_) {
    lighting_worker_ = std::make_unique<LightingWorker>(
        *link_, lighting_, *kind,
        [this](uint8_t effect_number) { return LightingEffectCode(effect_number); },
        "lighting worker of the " + product_.dataName + " ends");
  }
  lighting_worker_->Start();
}

bool CHalvexUSBDevice::LightingWorkerRunning() const {
  return lighting_worker_ && lighting_worker_->Running();
}

void CHalvexUSBDevice::LoadNameLists() {
  const auto index = static_cast<Json::ArrayIndex>(std::max(product_.lightIndex, 0));
  const Json::Value names = JsonFileIo::ReadJsonFile(DefaultLightNamesPath(folders_));
  if (std::optional<std::vector<LightModeName>> modes = ReadDefaultLightNames(names, index))
    builtin_modes_ = std::move(*modes);
  CBasicProfiledata& data = ProfileData();
  const Json::Value config = data.LoadLightConfig(data.GetLightConfigPath());
  if (std::optional<std::vector<std::string>> custom = ReadCustomLightNames(config, index))
    custom_modes_ = std::move(*custom);
}

void CHalvexUSBDevice::LoadLightingFromProfile() {
  CBasicProfiledata& data = ProfileData();
  const LightSettings settings = data.GetLightSettings();
  lighting_.words.Store(LightSettingsToWords(settings));
  lighting_.SetOverlays(data.GetLightList());
  // A custom effect (listed after the built-in ones) or a user-sequence entry plays the steps of
  // its effect file from the device's own list of the light configuration.
  const std::optional<Json::ArrayIndex> position =
      CustomEffectPosition(settings.mode, builtin_modes_);
  lighting_.SetSequence(position ? data.LightEffectAt(static_cast<Json::ArrayIndex>(
                                                          std::max(product_.lightIndex, 0)),
                                                      *position)
                                 : std::vector<LightEffectStep>{});
  lighting_.Changed();
}

// ---- Profiles ----

std::string CHalvexUSBDevice::GetProfileName() const {
  const Json::Value document = JsonFileIo::ReadJsonFile(ProfileData().GetProfilePath());
  const Json::Value* name = document.isObject() ? document.find("profilename", "profilename" + 11)
                                                : nullptr;
  return name && name->isString() ? name->asString() : std::string();
}

bool CHalvexUSBDevice::SaveProfile() {
  const bool saved = ProfileData().Save();
  if (!saved) qCWarning(lcVorlin) << "the profile could not be written";
  return saved;
}

// ---- Shutdown ----

void CHalvexUSBDevice::Shutdown() {
  if (shut_down_) return;
  shut_down_ = true;
  scheduler_.KillAll();
  if (lighting_worker_) lighting_worker_->Stop();
  cable_events_.Close();
  receiver_events_.Close();
  {
    std::lock_guard lock(link_->TransferLock());
    link_->open.store(false);
  }
  link_->WiredInterface().Close();
  link_->ReceiverInterface().Close();
}

}  // namespace vorlin
