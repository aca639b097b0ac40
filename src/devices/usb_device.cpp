#include "devices/usb_device.h"

#include <QAbstractButton>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QVBoxLayout>

#include "devices/device_function_area.h"
#include "devices/device_option.h"
#include "devices/function_view.h"
#include "hid/device_link.h"
#include "lighting/color_select_wnd.h"
#include "lighting/light_control_ui.h"
#include "lighting/light_panel_handlers.h"
#include "platform/log.h"
#include "profile_bar/device_profile_ui.h"
#include "profiles/basic_profile_data.h"
#include "profiles/json_file_io.h"
#include "profiles/light_name_lists.h"
#include "shell/app_paths.h"
#include "ui/control_number.h"
#include "ui/device_key_button.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/select_panel.h"
#include "ui/translator.h"

namespace vorlin {

namespace {

constexpr uint16_t kResyncRequest = 0x0401;
// Marks a key button whose light changed since it was last repainted.
constexpr char kLightChanged[] = "_vorlin_light_changed";

ProfileFolders ShellFolders() {
  return {InstallFolder().toStdString(), UserDataFolder().toStdString()};
}

}  // namespace

CHalvexUSBDevice::CHalvexUSBDevice(DeviceFamily family, QWidget* parent)
    : QWidget(parent),
      family_(family),
      link_(std::make_unique<DeviceLink>()),
      cable_events_(EventReaderExitLog(), EventReaderStopBound()),
      receiver_events_(EventReaderExitLog(), EventReaderStopBound()),
      scheduler_(*this, this),
      folders_(ShellFolders()) {}

CHalvexUSBDevice::~CHalvexUSBDevice() {
  Shutdown();
}

std::string CHalvexUSBDevice::EventReaderExitLog() const {
  return family_ == DeviceFamily::kMouse || family_ == DeviceFamily::kKeyboard
             ? "MS 设备同步线程设定退出"
             : "MS设备同步线程设定退出";
}

std::chrono::milliseconds CHalvexUSBDevice::EventReaderStopBound() const {
  return family_ == DeviceFamily::kMouse || family_ == DeviceFamily::kKeyboard
             ? std::chrono::milliseconds(500)
             : std::chrono::milliseconds(1000);
}

// ---- Creation ----

bool CHalvexUSBDevice::AttachPage(const DevicePageInit& init) {
  init_ = init;
  SetLightCount(init.lightCount);
  SetKeyCount(init.keyCount);
  SetStatusPanel(init.statusPanel != 0);
  StoreKey(init.key, init.key.kind, init.key.role);
  SetLightIndex(init.lightIndex);
  setObjectName(init.dataName + QStringLiteral("_page"));
  return BuildPage();
}

void CHalvexUSBDevice::SetLightCount(int count) {
  const size_t size = static_cast<size_t>(std::max(count, 0));
  light_buttons_.resize(size, nullptr);
}

void CHalvexUSBDevice::SetKeyCount(int count) {
  const size_t size = static_cast<size_t>(std::max(count, 0));
  key_buttons_.resize(size, nullptr);
  lighting_.frame.Resize(size);
  key_records_.assign(size, KeyRecord{});
}

void CHalvexUSBDevice::SetStatusPanel(bool on) {
  status_panel_ = on;
  if (!on) window_hidden_.store(false, std::memory_order_relaxed);
  if (init_.powerPanel) init_.powerPanel->setProperty("statusPanel", on);
}

bool CHalvexUSBDevice::BuildPage() {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(24, 16, 24, 16);
  row->setSpacing(28);
  row->addStretch(1);
  if (!BuildPicture(row)) return false;
  // One column beside the picture: the profile bar, the device's card and the function area
  // (the lighting panel and the panels the device classes add). It is as wide as its widest panel.
  auto* side = new QWidget(this);
  side->setObjectName(QStringLiteral("device_side_column"));
  side->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  auto* side_box = new QVBoxLayout(side);
  side_box->setContentsMargins(0, 0, 0, 0);
  side_box->setSpacing(12);
  BuildInfoColumn(side_box);
  BuildFunctionArea(side_box);
  row->addWidget(side);
  row->addStretch(1);

  ShowConnectionState();
  LoadCurrentProfile();
  LoadNameLists();
  RefreshPage();
  return true;
}

bool CHalvexUSBDevice::BuildPicture(QBoxLayout* row) {
  auto* picture = new QWidget(this);
  picture->setObjectName(QStringLiteral("device_picture_area"));
  auto* picture_box = new QVBoxLayout(picture);
  picture_box->setContentsMargins(0, 0, 0, 0);
  QWidget* tree = AttachSubLayout(picture, init_.layout);
  if (!tree) {
    qCWarning(lcVorlin) << "device page layout" << init_.layout << "cannot be built";
    return false;
  }
  // The pictures place their parts by position: the tree keeps its layout size.
  if (tree->minimumSize().isEmpty()) tree->setMinimumSize(tree->size());
  picture_ = tree;
  CollectButtons(tree);
  row->addWidget(picture, 0, Qt::AlignCenter);
  return true;
}

void CHalvexUSBDevice::BuildInfoColumn(QBoxLayout* column) {
  auto* bar = new CDeviceProfileUI(this);
  bar->setObjectName(init_.dataName + QStringLiteral("_profile_bar"));
  bar->SetHost(this);
  bar->SetPageKind(static_cast<int>(init_.key.kind));
  profile_bar_ = bar;
  column->addWidget(bar);

  auto* card = new QFrame(this);
  card->setObjectName(QStringLiteral("device_info_card"));
  card->setProperty("role", QStringLiteral("card"));
  auto* card_box = new QHBoxLayout(card);
  card_box->setContentsMargins(16, 10, 16, 10);
  card_box->setSpacing(12);
  auto* name = new QLabel(card);
  name->setObjectName(QStringLiteral("device_page_name"));
  name->setProperty("role", QStringLiteral("heading"));
  Translator::Instance().SetTextKey(
      name, DeviceIconStem(init_.key.kind, 0) + QStringLiteral("_device_name_text"));
  connection_ = new QLabel(card);
  connection_->setObjectName(QStringLiteral("device_page_connection"));
  connection_->setProperty("role", QStringLiteral("muted"));
  card_box->addWidget(name);
  card_box->addStretch(1);
  card_box->addWidget(connection_);
  column->addWidget(card);
}

void CHalvexUSBDevice::BuildFunctionArea(QBoxLayout* column) {
  // The page's own kind (its cable kind): through the receiver the page keeps its tabs.
  function_area_ = new DeviceFunctionArea(FunctionTabsOf(family_), init_.key.kind, this);
  auto* panel = new CLightControlUI;
  panel->setObjectName(init_.dataName + QStringLiteral("_light_panel"));
  panel->SetLightType(LightPanelType());
  light_panel_ = panel;
  connect(panel, &CLightControlUI::colourButtonClicked, this,
          [this](uint32_t colour) { ChooseLightColour(colour); });
  panel->SetLightWords(GetLightWords());  // builds its controls, so that its size is known
  function_area_->SetKeyPage(0, panel);
  function_area_->ShowView(function_view_);
  column->addWidget(function_area_, 1);
}

void CHalvexUSBDevice::SetFunctionPanel(int view, QWidget* panel) {
  if (!function_area_) return;
  function_area_->SetViewPanel(view, panel);
  function_area_->ShowView(function_view_);
}

void CHalvexUSBDevice::CollectButtons(QWidget* root) {
  auto* panel = root->inherits("vorlin::CSelectPanelUI") ? root : root->findChild<CSelectPanelUI*>();
  if (!panel) return;
  for (CDeviceKeyButtonUI* button : panel->findChildren<CDeviceKeyButtonUI*>()) {
    const QString name = button->objectName();
    if (const int key = ControlNumber(name, QLatin1StringView("key_")).value_or(-1); key >= 0) {
      if (static_cast<size_t>(key) < key_buttons_.size()) key_buttons_[key] = button;
    } else if (const int light = ControlNumber(name, QLatin1StringView("light_")).value_or(-1); light >= 0) {
      if (static_cast<size_t>(light) < light_buttons_.size()) light_buttons_[light] = button;
    }
  }
}

// ---- Identity and connection ----

void CHalvexUSBDevice::StoreKey(const InterfaceEntry& key, uint16_t kind, uint16_t role) {
  key_ = key;
  kind_ = kind;
  role_ = role;
}

void CHalvexUSBDevice::SetOption(CDeviceOptionUI* option) {
  option_ = option;
}

CDeviceOptionUI* CHalvexUSBDevice::Option() const {
  return option_;
}

bool CHalvexUSBDevice::LinkOpen() const {
  return link_->open.load();
}

void CHalvexUSBDevice::ScheduleStartUp() {
  ShowConnectionState();
  scheduler_.Start(DeviceScheduler::kStartUp, DeviceScheduler::kStartUpDelayMs);
}

void CHalvexUSBDevice::Disconnected() {
  // The timers that need the link end on their own; the start-up retry must not outlive it.
  scheduler_.Kill(DeviceScheduler::kStartUp);
  scheduler_.Kill(DeviceScheduler::kLinkWatch);
  ShowConnectionState();
}

void CHalvexUSBDevice::ShowConnectionState() {
  if (!connection_) return;
  QString key = QStringLiteral("device_page_disconnected_text");
  if (LinkOpen()) {
    key = OnReceiver() ? QStringLiteral("device_page_receiver_text")
                       : QStringLiteral("device_page_cable_text");
  }
  Translator::Instance().SetTextKey(connection_, key);
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
  qCInfo(lcVorlin).noquote() << "接收到自动添加设备的同步信息要求";
  const int delay = ResyncDelayMs();
  PostToUi([this, delay] { scheduler_.Start(DeviceScheduler::kResync, delay); });
}

void CHalvexUSBDevice::PostToUi(std::function<void()> work) {
  // Queued onto the object's thread; Qt drops it when the object is destroyed first.
  QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

// ---- Window state ----

void CHalvexUSBDevice::SetWindowHidden(bool hidden) {
  if (!status_panel_) return;
  window_hidden_.store(hidden, std::memory_order_relaxed);
}

void CHalvexUSBDevice::SetHostLighting(bool on) {
  host_lighting_.store(on, std::memory_order_relaxed);
  if (on && kind_ == 1) link_->HostLightingOn();
}

void CHalvexUSBDevice::LeaveSynchronisedLighting() {
  link_->lightingHold.store(false);
}

bool CHalvexUSBDevice::OptionShown() const {
  return option_ && option_->Shown();
}

bool CHalvexUSBDevice::OptionSelected() const {
  return option_ && option_->IsSelected();
}

void CHalvexUSBDevice::RequestOption(bool show) {
  emit OptionShowRequested(init_.pageRow, show);
}

void CHalvexUSBDevice::RepaintPicture() {
  // At most one repaint per screen refresh; what changed meanwhile is painted the next time.
  if (last_repaint_.isValid() && last_repaint_.elapsed() < kRepaintIntervalMs) return;
  last_repaint_.start();
  // Only the buttons whose light changed since they were last painted.
  for (CDeviceKeyButtonUI* button : key_buttons_) {
    if (button && button->property(kLightChanged).toBool()) {
      button->setProperty(kLightChanged, false);
      button->update();
    }
  }
}

// ---- Frame and lighting state ----

void CHalvexUSBDevice::OutputFrame() {
  if (!HostLighting()) return;
  for (size_t i = 0; i < key_buttons_.size(); ++i) {
    CDeviceKeyButtonUI* button = key_buttons_[i];
    if (!button || !button->isVisible()) continue;
    const uint32_t entry = function_view_ == kLightingView ? lighting_.frame.GetKeyColor(i) : 0;
    if (button->SetLight(entry & 0x00FFFFFFu, FrameEntryLevel(entry), true))
      button->setProperty(kLightChanged, true);
  }
}

void CHalvexUSBDevice::SetKeyColor(int index, uint32_t entry) {
  if (index < 0 || static_cast<size_t>(index) >= lighting_.frame.size()) return;
  lighting_.frame.SetKeyColor(static_cast<size_t>(index), entry);
}

uint32_t CHalvexUSBDevice::GetKeyColor(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= lighting_.frame.size()) return 0;
  return lighting_.frame.GetKeyColor(static_cast<size_t>(index));
}

void CHalvexUSBDevice::SetLightWords(uint32_t word0, uint32_t word1, uint32_t word2,
                                     uint16_t word3) {
  lighting_.words.Store({word0, word1, word2, word3});
  // The profile keeps them too (ApplyLighting takes the lighting from there). Whether a new
  // effect starts from its beginning is the device class's choice (RequestEffectRestart).
  ProfileData().SetLightSettings(word0, word1, word2, word3);
  lighting_.Changed();
}

void CHalvexUSBDevice::SetAudioLightSettings(const AudioLightSettings& settings) {
  audio_light_ = settings;
  ProfileData().SetAudioLightSettings(settings);
}

void CHalvexUSBDevice::ClearLightingHold() {
  link_->lightingHold.store(false);
  lighting_.Changed();
}

void CHalvexUSBDevice::SetLightIndex(int index) {
  light_index_ = index;
}


void CHalvexUSBDevice::ShowLightWords(const LightWords& words) {
  if (light_panel_) light_panel_->SetLightWords(words);
}

void CHalvexUSBDevice::ChooseLightColour(uint32_t current) {
  if (!light_panel_) return;
  const LightSettings settings = LightSettingsFromWords(GetLightWords());
  const ColorSelectResult result = CColorSelectWnd::SelectColour(
      window(), QColor::fromRgb(current), settings.multi_color != 0, logicalDpiX());
  if (result.code != kColorSelectChosen) return;
  if (!result.multi_colour) {
    StoreLightColour(*light_panel_, *this, result.colour.rgba(), true);
    return;
  }
  LightSettings multi = settings;
  multi.multi_color = 1;
  const LightWords words = LightSettingsToWords(multi);
  const QSize screen = ScreenSizeForRecords();
  ClearLightingHold();
  light_panel_->SetMultiColour(true);
  SetLightWords(words.word0, words.word1, words.word2, words.word3);
  SaveProfile();
  ApplyLighting();
  WriteParamRecord(0, 0, 1, screen.width(), screen.height());
}

void CHalvexUSBDevice::RefreshPage() {
  ShowLightWords(GetLightWords());
}

void CHalvexUSBDevice::RequestEffectRestart() {
  lighting_.restart.store(true);
  lighting_.Changed();
}

void CHalvexUSBDevice::StartLightingWorker() {
  const std::optional<LightingDevice> kind = LightingKind();
  if (!kind || shut_down_) return;
  if (!lighting_worker_) {
    const std::string exit_log =
        family_ == DeviceFamily::kKeyboard ? "KB灯光线程设定退出" : "MS灯光线程设定退出";
    lighting_worker_ = std::make_unique<LightingWorker>(
        *link_, lighting_, *kind,
        [this](uint8_t effect_number) { return LightingEffectCode(effect_number); }, exit_log);
  }
  lighting_worker_->Start();
}

bool CHalvexUSBDevice::LightingWorkerRunning() const {
  return lighting_worker_ && lighting_worker_->Running();
}

void CHalvexUSBDevice::LoadNameLists() {
  const auto index = static_cast<Json::ArrayIndex>(std::max(light_index_, 0));
  const Json::Value names = JsonFileIo::ReadJsonFile(DefaultLightNamesPath(folders_));
  if (std::optional<std::vector<LightModeName>> modes = ReadDefaultLightNames(names, index))
    builtin_modes_ = std::move(*modes);
  CBasicProfiledata& data = ProfileData();
  const Json::Value config = data.LoadLightConfig(data.GetLightConfigPath());
  if (std::optional<std::vector<std::string>> custom = ReadCustomLightNames(config, index))
    custom_modes_ = std::move(*custom);
  ShowLightModes();
}

void CHalvexUSBDevice::ShowLightModes() {
  if (!light_panel_) return;
  QStringList keys;
  std::vector<int> enabled;
  for (const LightModeName& mode : builtin_modes_) {
    keys << QString::fromStdString(mode.name);
    enabled.push_back(mode.visible ? 1 : 0);
  }
  // The custom effects follow the built-in ones: effect number = built-in count + position.
  for (const std::string& name : custom_modes_) {
    keys << QString::fromStdString(name);
    enabled.push_back(1);
  }
  light_panel_->SetModeList(keys, enabled, kMaxLightIndex, kMaxLightIndex);
  light_panel_->SetLightWords(GetLightWords());
}

void CHalvexUSBDevice::LoadLightingFromProfile() {
  CBasicProfiledata& data = ProfileData();
  const LightWords words = LightSettingsToWords(data.GetLightSettings());
  SetLightWords(words.word0, words.word1, words.word2, words.word3);
  lighting_.SetOverlays(data.GetLightList());
  lighting_.SetSequence(data.GetLightEffect());
}

bool CHalvexUSBDevice::NeedsFrames() const {
  return isVisible();
}

void CHalvexUSBDevice::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The frame timer rests while the page cannot be seen; it takes up again here.
  if (LinkOpen() && !scheduler_.Pending(DeviceScheduler::kFrame))
    scheduler_.Start(DeviceScheduler::kFrame, OnReceiver() ? DeviceScheduler::kReceiverFrameMs
                                                           : DeviceScheduler::kCableFrameMs);
}

void CHalvexUSBDevice::SetFunctionView(int view) {
  function_view_ = view;
  if (function_area_) function_area_->ShowView(view);
  // The lights show only in the lighting view; the other views show the keys' marks.
  for (CDeviceKeyButtonUI* button : key_buttons_) {
    if (button) button->setProperty(kLightChanged, true);
  }
  OutputFrame();
  RepaintPicture();
}

// ---- Profiles ----

std::string CHalvexUSBDevice::GetProfileName() const {
  if (!profile_bar_) return {};
  const ProfileList& list = profile_bar_->List();
  const int index = list.SelectedIndex();
  if (index < 0 || static_cast<size_t>(index) >= list.Profiles().size()) return {};
  return list.Profiles()[static_cast<size_t>(index)].name;
}

void CHalvexUSBDevice::LoadCurrentProfile() {
  CBasicProfiledata& data = ProfileData();
  data.SetDeviceIndex(0);
  const std::string data_name = init_.dataName.toStdString();
  data.SetDefaultPath(DefaultDocumentPath(folders_, data_name));
  data.SetLightConfigPath(LightConfigPath(folders_, data_name, init_.lightConfigName.toStdString()));
  data.LoadLightConfig(data.GetLightConfigPath());
  if (!profile_bar_) return;
  profile_bar_->SetFolders(folders_, data_name);
  const std::string id = profile_bar_->GetCurrentProfileId();
  if (id.empty()) return;
  profile_id_ = id;
  const std::string path = ProfileDocumentPath(folders_, data_name, id);
  data.SetProfilePath(path);
  data.LoadDevice(path);
  LoadProfile();
}

void CHalvexUSBDevice::ApplyProfile(const std::string& profile_id,
                                    const std::string& document_path) {
  profile_id_ = profile_id;
  CBasicProfiledata& data = ProfileData();
  data.SetProfilePath(document_path);
  data.LoadDevice(document_path);
  LoadProfile();
}

void CHalvexUSBDevice::ResetToFactory() {
  CBasicProfiledata& data = ProfileData();
  const Json::Value factory = data.LoadDevice(data.GetDefaultPath());
  if (!data.SaveDevice(factory, data.GetProfilePath())) {
    qCWarning(lcVorlin) << "the factory settings could not be written to the profile";
  }
  data.LoadDevice(data.GetProfilePath());
  LoadProfile();
}

void CHalvexUSBDevice::ReloadProfile() {
  CBasicProfiledata& data = ProfileData();
  data.LoadDevice(data.GetProfilePath());
  LoadProfile();
}

void CHalvexUSBDevice::SaveProfile() {
  if (!ProfileData().Save()) qCWarning(lcVorlin) << "the profile could not be written";
}

bool CHalvexUSBDevice::HandleNotification(const Notification& notification) {
  if (!notification.sender || !isAncestorOf(notification.sender)) return false;
  if (profile_bar_ && profile_bar_->HandleNotification(notification)) return true;
  if (function_area_ && notification.Is(u"selectchanged")) {
    auto* option = qobject_cast<QAbstractButton*>(notification.sender);
    const int view = function_area_->ViewOfTab(notification.SenderName());
    if (view >= 0) {
      if (option && option->isChecked()) SetFunctionView(view);
      return true;
    }
  }
  if (light_panel_ && HandleLightPanelNotification(notification, *light_panel_, *this)) return true;
  return false;
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
