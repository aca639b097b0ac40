#include "pages/device_page.h"

#include <QAbstractButton>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "devices/device_client.h"
#include "devices/lighting_state.h"
#include "devices/mouse_power_view.h"
#include "key_set/key_set_messages.h"
#include "lighting/color_select_wnd.h"
#include "lighting/colour_options.h"
#include "lighting/light_control_ui.h"
#include "lighting/light_panel_handlers.h"
#include "pages/device_function_area.h"
#include "pages/device_option.h"
#include "pages/function_view.h"
#include "pages/mouse_panels.h"
#include "pages/picture_fit.h"
#include "platform/log.h"
#include "profile_bar/common_file_dialogs.h"
#include "profile_bar/device_profile_ui.h"
#include "profiles/json_file_io.h"
#include "shell/message_box.h"
#include "ui/control_number.h"
#include "ui/device_key_button.h"
#include "ui/find_control.h"
#include "ui/key_marks.h"
#include "ui/layout_loader.h"
#include "ui/light_colour.h"
#include "ui/select_panel.h"
#include "ui/skin_picture.h"
#include "ui/translator.h"
#include "ui/window_scale.h"

namespace vorlin {

namespace {

// Marks a key button whose light changed since it was last repainted.
constexpr char kLightChanged[] = "_vorlin_light_changed";
// The highest brightness and speed index of the lighting panel.
constexpr int kMaxLightIndex = 4;
constexpr QSize kPowerPictureSize{18, 18};
// The room the device picture has at least.
constexpr QSize kMinPictureArea{160, 160};

}  // namespace

DevicePage::DevicePage(const ProductEntry& product, const ProfileFolders& folders,
                       DeviceClient& client, DeviceLightingState& lighting, CDeviceHook* capture,
                       QWidget* parent)
    : QWidget(parent),
      product_(product),
      folders_(folders),
      client_(client),
      lighting_(lighting),
      capture_(capture) {
  setObjectName(QString::fromStdString(product_.dataName) + QStringLiteral("_page"));
  light_buttons_.resize(static_cast<size_t>(std::max(product_.lightCount, 0)), nullptr);
  key_buttons_.resize(static_cast<size_t>(std::max(product_.keyCount, 0)), nullptr);
  frame_timer_.setTimerType(Qt::PreciseTimer);
  connect(&frame_timer_, &QTimer::timeout, this, [this] { OutputFrame(); });
  connect(&client_, &DeviceClient::viewChanged, this, &DevicePage::OnViewChanged);
  connect(&client_, &DeviceClient::reported, this, &DevicePage::OnReport);
}

DevicePage::~DevicePage() = default;

CLightControlUI* DevicePage::LightPanel() const {
  return light_panel_;
}

CDeviceProfileUI* DevicePage::ProfileBar() const {
  return profile_bar_;
}

// ---- Building ----

bool DevicePage::Build() {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(24, 16, 24, 16);
  row->setSpacing(28);
  if (!BuildPicture(row)) return false;
  // One column beside the picture: the profile bar, the device's card and the function area. It
  // has one width on every page, so nothing moves when the user goes from device to device; the
  // picture takes the rest.
  auto* side = new QWidget(this);
  side->setObjectName(QStringLiteral("device_side_column"));
  side->setFixedWidth(kSideColumnWidth);
  auto* side_box = new QVBoxLayout(side);
  side_box->setContentsMargins(0, 0, 0, 0);
  side_box->setSpacing(12);
  BuildInfoColumn(side_box);
  BuildFunctionArea(side_box);
  row->addWidget(side);
  if (client_.HasMouse()) {
    mouse_ = std::make_unique<MousePanels>(*this, client_);
    mouse_->Build(*function_area_);
  }
  function_area_->ShowView(function_view_);
  OnViewChanged();
  ShowChangedKeys();
  return true;
}

bool DevicePage::BuildPicture(QBoxLayout* row) {
  auto* picture = new QWidget(this);
  picture->setObjectName(QStringLiteral("device_picture_area"));
  picture->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  picture->setMinimumSize(kMinPictureArea);
  QWidget* tree = AttachSubLayout(picture, QString::fromStdString(product_.pageLayout));
  if (!tree) {
    qCWarning(lcVorlin) << "device page layout" << product_.pageLayout.c_str()
                        << "cannot be built";
    return false;
  }
  // The pictures place their parts by position: the tree is scaled as a whole to the room the
  // area has (picture_fit.h), not laid out.
  if (QLayout* box = picture->layout()) {
    box->removeWidget(tree);
    delete box;
  }
  tree->resize(tree->minimumSize().isEmpty() ? tree->size() : tree->minimumSize());
  new PictureFit(picture, tree);  // owned by the area
  picture_ = tree;
  CollectButtons(tree);
  row->addWidget(picture, 1);
  return true;
}

void DevicePage::CollectButtons(QWidget* root) {
  auto* panel = root->inherits("vorlin::CSelectPanelUI") ? root : root->findChild<CSelectPanelUI*>();
  if (!panel) return;
  for (CDeviceKeyButtonUI* button : panel->findChildren<CDeviceKeyButtonUI*>()) {
    const QString name = button->objectName();
    if (const int key = ControlNumber(name, QLatin1StringView("key_")).value_or(-1); key >= 0) {
      if (static_cast<size_t>(key) < key_buttons_.size()) key_buttons_[key] = button;
    } else if (const int light = ControlNumber(name, QLatin1StringView("light_")).value_or(-1);
               light >= 0) {
      if (static_cast<size_t>(light) < light_buttons_.size()) light_buttons_[light] = button;
    } else if (const QVariant entry = button->property("frameEntry"); entry.isValid()) {
      frame_lights_.emplace_back(button, static_cast<size_t>(std::max(entry.toInt(), 0)));
    }
    if (name == QLatin1String("logo")) logo_ = button;
  }
}

void DevicePage::BuildInfoColumn(QBoxLayout* column) {
  auto* bar = new CDeviceProfileUI(this);
  bar->setObjectName(QString::fromStdString(product_.dataName) + QStringLiteral("_profile_bar"));
  bar->SetHost(&client_);
  bar->SetPageKind(static_cast<int>(product_.cable.kind));
  bar->SetFolders(folders_, product_.dataName);
  connect(bar, &CDeviceProfileUI::factoryResetChosen, this, &DevicePage::OnFactoryReset);
  profile_bar_ = bar;
  column->addWidget(bar);

  auto* card = new QFrame(this);
  card->setObjectName(QStringLiteral("device_info_card"));
  card->setProperty("role", QStringLiteral("card"));
  auto* card_box = new QHBoxLayout(card);
  card_box->setContentsMargins(16, 6, 16, 6);
  card_box->setSpacing(12);
  auto* name = new QLabel(card);
  name->setObjectName(QStringLiteral("device_page_name"));
  name->setProperty("role", QStringLiteral("heading"));
  Translator::Instance().SetTextKey(
      name, QString::fromStdString(product_.iconStem) + QStringLiteral("_device_name_text"));
  connection_ = new QLabel(card);
  connection_->setObjectName(QStringLiteral("device_page_connection"));
  connection_->setProperty("role", QStringLiteral("muted"));
  card_box->addWidget(name);
  card_box->addStretch(1);
  card_box->addWidget(connection_);
  column->addWidget(card);
}

void DevicePage::BuildFunctionArea(QBoxLayout* column) {
  // The page's own (cable) kind: through the receiver the page keeps its tabs.
  function_area_ =
      new DeviceFunctionArea(FunctionTabsOf(product_.family), product_.cable.kind, this);
  auto* panel = new CLightControlUI;
  panel->setObjectName(QString::fromStdString(product_.dataName) + QStringLiteral("_light_panel"));
  panel->SetLightType(product_.lightPanelType);
  light_panel_ = panel;
  connect(panel, &CLightControlUI::colourButtonClicked, this,
          [this](uint32_t colour) { ChooseLightColour(colour); });
  // Builds its controls, so that its size is known.
  panel->SetLightWords(LightSettingsToWords(client_.Lighting()));
  BindLightPanel(bindings_, *panel, client_);
  function_area_->SetKeyPage(0, panel);
  for (const FunctionTab& tab : FunctionTabsOf(product_.family)) {
    bindings_.Bind(function_area_, tab.name, notify::kSelectChanged,
                   [this, view = tab.view](const Notification& n) {
                     auto* option = qobject_cast<QAbstractButton*>(n.sender);
                     if (option && option->isChecked()) SetFunctionView(view);
                   });
  }
  column->addWidget(function_area_, 1);
}

// ---- The window's side ----

void DevicePage::SetOption(CDeviceOptionUI* option) {
  option_ = option;
}

CDeviceOptionUI* DevicePage::Option() const {
  return option_;
}

void DevicePage::SetPowerPanel(QWidget* panel) {
  power_panel_ = panel;
  if (panel) panel->setProperty("statusPanel", product_.statusPanel);
  ShowStatus();
}

bool DevicePage::BuildAllPanels() {
  if (!function_area_ || !function_area_->AnyViewPending()) return false;
  function_area_->BuildAllViews();
  return true;
}

void DevicePage::SetSameModeAllowed(bool allowed) {
  if (light_panel_) light_panel_->SetSameModeAllowed(allowed);
}

// ---- What the device reports ----

void DevicePage::OnViewChanged() {
  ShowConnection();
  ShowLighting();
  ShowStatus();
  if (mouse_) mouse_->Refresh();
  UpdateFrameTimer();
}

void DevicePage::OnReport(const DeviceReport& report) {
  if (mouse_) mouse_->OnReport(report);
  if (report.action == DeviceReport::Action::kProfile ||
      report.action == DeviceReport::Action::kReset) {
    if (report.macroResult > 0) {
      ShowMessage(QString::fromLatin1(kMacroImageTooLargeMessage), false, report.macroResult);
    } else if (report.macroResult < 0) {
      ShowMessage(QString::fromLatin1(kMacroWriteFailedMessage), false);
    }
  }
  emit reported(report);
}

void DevicePage::ShowConnection() {
  if (!connection_) return;
  QString key = QStringLiteral("device_page_disconnected_text");
  switch (client_.View().connection) {
    case ConnectionKind::kCable:
      key = QStringLiteral("device_page_cable_text");
      break;
    case ConnectionKind::kReceiver:
      key = QStringLiteral("device_page_receiver_text");
      break;
    case ConnectionKind::kNone:
      break;
  }
  Translator::Instance().SetTextKey(connection_, key);
}

void DevicePage::ShowLighting() {
  if (!light_panel_) return;
  const LightingView& lighting = client_.View().lighting;
  if (lighting.builtinModes != shown_builtin_ || lighting.customModes != shown_custom_) {
    shown_builtin_ = lighting.builtinModes;
    shown_custom_ = lighting.customModes;
    QStringList keys;
    std::vector<int> enabled;
    for (const LightModeName& mode : shown_builtin_) {
      keys << QString::fromStdString(mode.name);
      enabled.push_back(mode.visible ? 1 : 0);
    }
    // The custom effects follow the built-in ones: effect number = built-in count + position.
    for (const std::string& name : shown_custom_) {
      keys << QString::fromStdString(name);
      enabled.push_back(1);
    }
    light_panel_->SetModeList(keys, enabled, kMaxLightIndex, kMaxLightIndex);
  }
  light_panel_->SetLightWords(LightSettingsToWords(lighting.light));
  ShowLogoTip();
  try {
    light_panel_->SetAudioLight(lighting.audio);
  } catch (const LightPanelError&) {
    // A layout without the music controls shows no music settings.
  }
}

void DevicePage::ShowLogoTip() {
  if (!logo_) return;
  const Translator& texts = Translator::Instance();
  QString tip = texts.Text(QStringLiteral("Light_Set")) + QLatin1Char('\n') +
                texts.Text(QStringLiteral("Overall_Light_Set"));
  const LightingView& lighting = client_.View().lighting;
  const size_t effect = lighting.light.mode;
  const size_t builtin = lighting.builtinModes.size();
  if (effect < builtin) {
    tip += texts.Text(QString::fromStdString(lighting.builtinModes[effect].name));
  } else if (effect - builtin < lighting.customModes.size()) {
    tip += texts.Text(QString::fromStdString(lighting.customModes[effect - builtin]));
  }
  logo_->setToolTip(tip);
}

void DevicePage::ShowStatus() {
  const std::optional<std::array<uint8_t, kPowerStatusSize>>& status = client_.View().status;
  QWidget* panel = power_panel_;
  if (!panel) return;
  // The battery's mark, bar and level show only for a device that reports its battery, and once
  // it has: an empty bar and a "-" would only say nothing.
  const bool battery = product_.statusPanel && status.has_value();
  if (const QVariant shown = panel->property("batteryShown");
      !shown.isValid() || shown.toBool() != battery) {
    panel->setProperty("batteryShown", battery);
    for (const char* name :
         {"device_power_status", "device_Power_progress", "device_power_value"}) {
      if (QWidget* control = FindControl(panel, QString::fromLatin1(name)))
        control->setVisible(battery);
    }
  }
  if (!battery) return;
  auto* logo = FindControl<QWidget>(panel, QStringLiteral("device_wuxian_logo"));
  const PowerPanelView view =
      BuildPowerPanelView(*status, product_.statusPanel ? 1 : 0, logo && !logo->isHidden());
  if (auto* value = FindControl<QLabel>(panel, QStringLiteral("device_power_value")))
    value->setText(QString::fromStdString(view.value_text));
  auto* progress = FindControl<QWidget>(panel, QStringLiteral("device_Power_progress"));
  if (auto* bar = qobject_cast<QProgressBar*>(progress)) bar->setValue(view.progress);
  if (logo && view.wireless_logo) logo->setVisible(*view.wireless_logo);
  if (progress && view.progress_visible) progress->setVisible(*view.progress_visible);
  if (auto* state = FindControl<QLabel>(panel, QStringLiteral("device_power_status"));
      state && view.status_image)
    ShowSkinPicture(state, QString::fromStdString(*view.status_image), kPowerPictureSize);
  if (auto* phone = FindControl<QLabel>(panel, QStringLiteral("device_phone_type"));
      phone && view.phone_text) {
    Translator::Instance().SetTextKey(phone, QString::fromStdString(*view.phone_text));
    phone->setProperty("picture", QString::fromStdString(view.phone_image.value_or("")));
    phone->show();
  }
}

// ---- Lighting ----

void DevicePage::ChooseLightColour(uint32_t current) {
  if (!light_panel_) return;
  const LightSettings settings = client_.Lighting();
  const std::optional<ColourChoice> choice =
      ChooseColour(current, settings.multi_color != 0, true);
  if (!choice) return;
  if (!choice->multiColour) {
    StoreLightColour(*light_panel_, client_, choice->argb, true);
    return;
  }
  LightSettings multi = settings;
  multi.multi_color = 1;
  light_panel_->SetMultiColour(true);
  client_.SetLighting(multi, true);
}

void DevicePage::OnFactoryReset() {
  ResetSharedLightingFiles(folders_);
  ClearKeyMarks(MarkTargets(),
                client_.HasMouse() ? MarkStyle::kMouse : MarkStyle::kKeyboard);
}

void ResetSharedLightingFiles(const ProfileFolders& folders) {
  QFile::remove(QString::fromStdString(UserColourOptionsPath(folders)));
  const std::string defaults = DefaultDataFolder(folders) + "AudioFile.json";
  const Json::Value groups = JsonFileIo::ReadJsonFile(defaults);
  if (!groups.isNull() &&
      !JsonFileIo::WriteJsonFile(folders.user_data_root + "/AudioFile.json", groups))
    qCWarning(lcVorlin) << "the music colour groups could not be reset";
}

// ---- The picture ----

void DevicePage::UpdateFrameTimer() {
  const ConnectionKind connection = client_.View().connection;
  const bool wanted = isVisible() && connection != ConnectionKind::kNone;
  if (!wanted) {
    frame_timer_.stop();
    return;
  }
  const int period =
      connection == ConnectionKind::kReceiver ? kReceiverFrameMs : kCableFrameMs;
  if (!frame_timer_.isActive() || frame_timer_.interval() != period) frame_timer_.start(period);
}

void DevicePage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  UpdateFrameTimer();
}

void DevicePage::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  UpdateFrameTimer();
}

void DevicePage::OutputFrame() {
  const KeyColorFrame& frame = lighting_.frame;
  for (size_t i = 0; i < key_buttons_.size(); ++i) {
    CDeviceKeyButtonUI* button = key_buttons_[i];
    if (!button || !button->isVisible()) continue;
    const uint32_t entry = function_view_ == kLightingView ? frame.GetKeyColor(i) : 0;
    // The buttons take the colour word's packing (red, blue, green), not the frame's.
    if (button->SetLight(LightColourFromFrameEntry(entry), LightLevelFromFrameEntry(entry), true))
      button->setProperty(kLightChanged, true);
  }
  for (const auto& [button, index] : frame_lights_) {
    if (!button->isVisible()) continue;
    const uint32_t entry = frame.GetKeyColor(index);
    if (button->SetLight(LightColourFromFrameEntry(entry), LightLevelFromFrameEntry(entry), true))
      button->setProperty(kLightChanged, true);
  }
  if (!window_active_) return;
  // At most one repaint per screen refresh; what changed meanwhile is painted the next time.
  if (last_repaint_.isValid() && last_repaint_.elapsed() < kRepaintIntervalMs) return;
  last_repaint_.start();
  const auto repaint = [](CDeviceKeyButtonUI* button) {
    if (button && button->property(kLightChanged).toBool()) {
      button->setProperty(kLightChanged, false);
      button->update();
    }
  };
  for (CDeviceKeyButtonUI* button : key_buttons_) repaint(button);
  for (const auto& light : frame_lights_) repaint(light.first);
}

void DevicePage::SetFunctionView(int view) {
  function_view_ = view;
  if (function_area_) function_area_->ShowView(view);
  // The lights show only in the lighting view; the other views show the keys' marks.
  for (CDeviceKeyButtonUI* button : key_buttons_) {
    if (button) button->setProperty(kLightChanged, true);
  }
  last_repaint_.invalidate();
  OutputFrame();
}

// ---- Keys ----

std::vector<KeyMarkTarget*> DevicePage::MarkTargets() const {
  return {key_buttons_.begin(), key_buttons_.end()};
}

bool DevicePage::KeyUnchanged(int index) const {
  const std::vector<KeyAssignmentPair> keys = client_.KeyList();
  if (index < 0 || static_cast<size_t>(index) >= keys.size()) return true;
  const KeyAssignmentPair& key = keys[static_cast<size_t>(index)];
  return key.current == key.factory;
}

void DevicePage::MarkKey(int index) {
  selected_key_ = index;
  if (index < 0 || static_cast<size_t>(index) >= client_.KeyList().size()) return;
  UpdateKeyMarks(MarkTargets(),
                 index, MarkStyle::kMouse, [this](int i) { return KeyUnchanged(i); });
}

void DevicePage::ShowChangedKeys() {
  vorlin::ShowChangedKeys(
      MarkTargets(),
      [this](int i) { return KeyUnchanged(i); }, UnsetMark::kKeep);
}

void DevicePage::RefreshKeyList() {
  if (mouse_) mouse_->ShowKeyInformation();
}

// ---- Notifications ----

bool DevicePage::HandleNotification(const Notification& notification) {
  if (!notification.sender || !isAncestorOf(notification.sender)) return false;
  if (profile_bar_ && profile_bar_->HandleNotification(notification)) return true;
  if (bindings_.Dispatch(notification)) return true;
  return mouse_ && mouse_->HandleNotification(notification);
}

// ---- Services ----

int DevicePage::ShowMessage(const QString& text_key, bool question, std::optional<int> argument,
                            const QString& object) {
  QString shown;
  if (argument) {
    shown = KeySetMessageText(text_key, argument);
  } else {
    shown = MessageTextAbout(text_key, object);
  }
  return ShowStyledMessage(window(), text_key, question, WindowDpi(window()), shown);
}

QString DevicePage::OpenFile(const QString& filter) {
  return QtFileDialogs().OpenFile(window(), filter);
}

QString DevicePage::SaveFile(const QString& filter) {
  return QtFileDialogs().SaveFile(window(), filter);
}

bool DevicePage::StartCapture(int mode, std::function<void(const HookEvent&)> callback) {
  return capture_ && capture_->Start(0, mode, std::move(callback), true, true) == 1;
}

void DevicePage::StopCapture() {
  if (capture_) capture_->Stop();
}

bool DevicePage::CaptureLimitedToWindow() const {
  return capture_ && capture_->Running() && capture_->LimitedToWindow();
}

std::optional<ColourChoice> DevicePage::ChooseColour(uint32_t current, bool multi_colour,
                                                     bool allow_multi_colour) {
  const ColorSelectResult result = CColorSelectWnd::SelectColour(
      window(), QColor::fromRgb(current), multi_colour, WindowDpi(window()));
  if (result.code != kColorSelectChosen) return std::nullopt;
  if (result.multi_colour && !allow_multi_colour) return std::nullopt;
  return ColourChoice{result.colour.rgba(), result.multi_colour};
}

}  // namespace vorlin
