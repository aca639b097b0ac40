// The mouse page's panels: key assignment (with key capture), macros and recoil patterns, the
// button marks and names on the picture, and the routing of the panels' notifications.

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "devices/function_view.h"
#include "devices/mouse_device.h"
#include "input/assignment_name.h"
#include "input/device_hook.h"
#include "key_set/key_assignment_flow.h"
#include "key_set/key_set_control_ui.h"
#include "macro/macro_control_ui.h"
#include "mouse_settings/mouse_settings_panel.h"
#include "platform/log.h"
#include "profiles/macro_documents.h"
#include "profiles/profile_folders.h"
#include "shoot/shoot_control_ui.h"
#include "ui/control_number.h"
#include "ui/device_key_button.h"
#include "ui/key_marks.h"
#include "ui/layout_loader.h"
#include "ui/translator.h"

namespace vorlin {

namespace {

QStringList ToStringList(const std::vector<std::string>& names) {
  QStringList list;
  for (const std::string& name : names) list << QString::fromStdString(name);
  return list;
}

std::string TranslatedText(std::string_view key) {
  return Translator::Instance().Text(QString::fromUtf8(key.data(), key.size())).toStdString();
}

}  // namespace

bool CHalvexMouseDevice::BuildPage() {
  if (!CHalvexUSBDevice::BuildPage()) return false;
  BuildKeyPanel();
  BuildMacroPanel();
  BuildShootPanel();
  BuildSettingsPanels();
  RefreshPage();
  ShowChangedKeys();
  return true;
}

QWidget* CHalvexMouseDevice::SubLayoutPanel(const char* layout, const char* name) {
  auto* holder = new QWidget;
  holder->setObjectName(QString::fromLatin1(name));
  holder->setProperty("plain", true);
  if (!AttachSubLayout(holder, QString::fromLatin1(layout))) {
    qCWarning(lcVorlin) << "the mouse page's layout" << layout << "cannot be built";
    delete holder;
    return nullptr;
  }
  // The panel keeps its own height at the top of its page.
  if (auto* box = qobject_cast<QBoxLayout*>(holder->layout())) box->addStretch(1);
  return holder;
}

void CHalvexMouseDevice::BuildSettingsPanels() {
  RegisterMouseSettingsControls();
  if (QWidget* settings = SubLayoutPanel(MouseSettingsPanel::kSettingsLayout, "mouse_settings"))
    SetFunctionPanel(kSettingsView, settings);
  if (QWidget* pointer = SubLayoutPanel(MouseSettingsPanel::kPointerLayout, "mouse_pointer"))
    SetFunctionPanel(kPointerView, pointer);
  settings_panel_ = std::make_unique<MouseSettingsPanel>(settings_host_);
  settings_panel_->Bind(this);
}

void CHalvexMouseDevice::BuildKeyPanel() {
  auto* panel = new CKeySetControlUI;
  panel->setObjectName(QStringLiteral("mouse_key_set_panel"));
  if (!panel->Attach()) {
    qCWarning(lcVorlin) << "the mouse's key assignment panel cannot be built";
    delete panel;
    return;
  }
  panel->SetDeviceKind(kKeySetMouse);
  key_panel_ = panel;
  ShowMacroNames();
  key_flow_ = std::make_unique<KeyAssignmentFlow>(*panel, key_host_);
  connect(panel, &CKeySetControlUI::keyCaptureWanted, this, [this](bool on) { CaptureKeys(on); });

  // Where the input devices cannot be read, keys are captured from this window only: say so
  // under the key edit while capturing.
  if (auto* edit = panel->Control<QLineEdit>("keyset_keyboard_text_edit")) {
    if (auto* box = qobject_cast<QBoxLayout*>(edit->parentWidget()->layout())) {
      auto* tip = new QLabel(edit->parentWidget());
      tip->setObjectName(QStringLiteral("keyset_capture_window_tip"));
      tip->setProperty("role", QStringLiteral("lightlabel"));
      tip->setWordWrap(true);
      Translator::Instance().SetTextKey(tip, QStringLiteral("keyset_capture_window_tip_text"));
      tip->hide();
      box->addWidget(tip);
      capture_tip_ = tip;
    }
  }
  // The buttons tab: the panel above the list of every button's function.
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("mouse_keys_page"));
  page->setProperty("plain", true);
  auto* box = new QVBoxLayout(page);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(12);
  box->addWidget(panel);
  if (QWidget* list = SubLayoutPanel(MouseSettingsPanel::kKeyInfoLayout, "mouse_key_info"))
    box->addWidget(list);
  box->addStretch(1);
  SetFunctionPanel(kKeysView, page);
}

void CHalvexMouseDevice::BuildMacroPanel() {
  auto* panel = new CMacroControlUI;
  panel->setObjectName(QStringLiteral("mouse_macro_panel"));
  panel->SetHost(&macro_host_);
  panel->SetFolder(UserDataFolder(Folders(), "mouse"));
  macro_panel_ = panel;
  SetFunctionPanel(kMacrosView, panel);
}

void CHalvexMouseDevice::BuildShootPanel() {
  auto* panel = new CShootControlUI;
  panel->setObjectName(QStringLiteral("mouse_shoot_panel"));
  panel->SetHost(&shoot_host_);
  panel->SetDataFolder(UserDataFolder(Folders(), "mouse"));
  panel->SetDefaultFolder(DefaultDataFolder(Folders()));
  panel->InitGuns();
  shoot_panel_ = panel;
  SetFunctionPanel(kRecoilView, panel);
}

void CHalvexMouseDevice::CaptureKeys(bool on) {
  CDeviceHook* capture = InputCapture();
  if (!capture) return;
  if (!on) {
    capture->HandleControlMessage(0, {});
    if (capture_tip_) capture_tip_->hide();
    return;
  }
  capture->HandleControlMessage(1, [this](const HookEvent& event) {
    if (!event.keyboard || !key_flow_) return;
    key_flow_->ApplyCapturedKey(
        ScanCode{static_cast<uint8_t>(event.key.scan_code), (event.key.flags & 1u) != 0});
  });
  if (capture_tip_) capture_tip_->setVisible(capture->Running() && capture->LimitedToWindow());
}

// ---- Buttons ----

void CHalvexMouseDevice::MarkKeys(int index) {
  CHalvexUSBDevice::MarkKeys(index);
  if (index < 0 || static_cast<size_t>(index) >= key_list_.size()) return;
  UpdateKeyMarks(MarkTargets(), index, MarkStyle::kMouse,
                 [this](int i) { return KeyUnchanged(i); });
}

bool CHalvexMouseDevice::KeyUnchanged(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= key_list_.size()) return true;
  const KeyAssignmentPair& key = key_list_[static_cast<size_t>(index)];
  return key.current == key.factory;
}

std::vector<KeyMarkTarget*> CHalvexMouseDevice::MarkTargets() const {
  return {KeyButtons().begin(), KeyButtons().end()};
}

void CHalvexMouseDevice::ShowChangedKeys() {
  vorlin::ShowChangedKeys(MarkTargets(), [this](int i) { return KeyUnchanged(i); });
}

void CHalvexMouseDevice::SetKeyEntry(int index, const KeyAssignmentPair& pair) {
  if (index < 0 || static_cast<size_t>(index) >= key_list_.size()) return;
  key_list_[static_cast<size_t>(index)] = pair;
  profile_.SetKeyList(key_list_);
  SaveProfile();
}

void CHalvexMouseDevice::ShowKeyInformation() {
  const std::vector<CDeviceKeyButtonUI*>& buttons = KeyButtons();
  std::vector<KeyInfoRow> rows;
  for (size_t i = 0; i < key_list_.size() && i < buttons.size(); ++i) {
    CDeviceKeyButtonUI* button = buttons[i];
    if (!button) {
      rows.push_back({QString(), QString(), false});
      continue;
    }
    const KeyAssignment& current = key_list_[i].current;
    const std::string name =
        AssignmentName(FunctionCode{current.code[0], current.code[1], current.code[2]},
                       macro_names_, TranslatedText);
    const QString label =
        i < kDefaultButtonCodeTable.size()
            ? Translator::Instance().Text(QString::fromLatin1(kDefaultButtonCodeTable[i].label))
            : QString();
    button->setToolTip(label.isEmpty()
                           ? QString::fromStdString(name)
                           : label + QStringLiteral(": ") + QString::fromStdString(name));
    rows.push_back({label, QString::fromStdString(name), !button->isHidden()});
  }
  if (settings_panel_) settings_panel_->ShowKeyInfo(rows);
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

void CHalvexMouseDevice::SetMacroNames(const std::vector<std::string>& names) {
  macro_names_ = names;
  ShowMacroNames();
  ShowKeyInformation();
}

void CHalvexMouseDevice::ShowMacroNames() {
  if (key_panel_) key_panel_->SetMacroNames(ToStringList(macro_names_));
}

void CHalvexMouseDevice::MacroRemoved(int number) {
  if (!RenumberMacroCalls(key_list_, number)) return;
  profile_.SetKeyList(key_list_);
  SaveProfile();
  StoreKeyAssignments(0, key_list_);
  ShowChangedKeys();
  ShowKeyInformation();
}

void CHalvexMouseDevice::MarkKeyChangesPending() {
  if (key_panel_) key_panel_->EnableEditingButtons(true);
}

// ---- Notifications ----

bool CHalvexMouseDevice::HandleNotification(const Notification& notification) {
  if (CHalvexUSBDevice::HandleNotification(notification)) return true;
  if (!notification.sender || !isAncestorOf(notification.sender)) return false;
  if (notification.Is(u"click")) {
    const int key = ControlNumber(notification.SenderName(), QLatin1StringView("key_")).value_or(-1);
    if (key >= 0 && Picture() && Picture()->isAncestorOf(notification.sender)) {
      // A button of the picture opens it for editing, on the buttons tab.
      if (key_flow_) {
        if (GetFunctionView() != kKeysView) SetFunctionView(kKeysView);
        key_flow_->SelectKey(key);
      }
      return true;
    }
  }
  if (settings_panel_ && settings_panel_->HandleNotification(notification)) return true;
  if (key_flow_ && key_flow_->HandleNotification(notification)) return true;
  if (macro_panel_ && macro_panel_->HandleNotification(notification)) return true;
  if (shoot_panel_ && shoot_panel_->HandleNotification(notification)) return true;
  return false;
}

}  // namespace vorlin
