#include "pages/mouse_panels.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "devices/device_client.h"
#include "devices/mouse_key_tables.h"
#include "input/assignment_name.h"
#include "input/device_hook.h"
#include "key_set/chosen_button.h"
#include "key_set/key_assignment_flow.h"
#include "key_set/key_set_control_ui.h"
#include "macro/macro_control_ui.h"
#include "mouse_settings/key_info_list.h"
#include "mouse_settings/mouse_settings_panel.h"
#include "pages/device_function_area.h"
#include "pages/device_page.h"
#include "pages/function_view.h"
#include "platform/log.h"
#include "shoot/shoot_control_ui.h"
#include "ui/device_key_button.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/translator.h"

namespace vorlin {

namespace {

// The list of every button's function in the key information layout.
constexpr char kKeyInfoListName[] = "device_setkeyinfo_list";

QStringList ToStringList(const std::vector<std::string>& names) {
  QStringList list;
  for (const std::string& name : names) list << QString::fromStdString(name);
  return list;
}

std::string TranslatedText(std::string_view key) {
  return Translator::Instance().Text(QString::fromUtf8(key.data(), key.size())).toStdString();
}

}  // namespace

MousePanels::MousePanels(DevicePage& page, DeviceClient& client) : page_(page), client_(client) {}

MousePanels::~MousePanels() {
  CaptureKeys(false);
}

CKeySetControlUI* MousePanels::KeyPanel() {
  Need(kKeysView);
  return key_panel_;
}

KeyAssignmentFlow* MousePanels::KeyFlow() {
  Need(kKeysView);
  return key_flow_.get();
}

CMacroControlUI* MousePanels::MacroPanel() {
  Need(kMacrosView);
  return macro_panel_;
}

CShootControlUI* MousePanels::ShootPanel() {
  Need(kRecoilView);
  return shoot_panel_;
}

MouseSettingsPanel* MousePanels::SettingsPanel() {
  Need(kSettingsView);
  return settings_panel_.get();
}

void MousePanels::Need(int view) {
  if (area_) area_->BuildView(view);
}

bool MousePanels::Built(int view) const {
  return area_ && area_->HasView(view) && !area_->ViewPending(view);
}

void MousePanels::Build(DeviceFunctionArea& area) {
  area_ = &area;
  RegisterMouseSettingsControls();
  area.SetViewBuilder(kKeysView, this, [this] { BuildKeyPanel(); });
  area.SetViewBuilder(kMacrosView, this, [this] { BuildMacroPanel(); });
  area.SetViewBuilder(kRecoilView, this, [this] { BuildShootPanel(); });
  area.SetViewBuilder(kSettingsView, this, [this] { BuildSettingsPanels(); });
  area.SetViewBuilder(kPointerView, this, [this] { BuildSettingsPanels(); });
  BindKeyButtons();
}

void MousePanels::BindKeyButtons() {
  bindings_.BindNumbered(page_.Picture(), "key_", notify::kClick,
                         [this](const Notification&, int key) {
                           // A button of the picture opens it for editing, on the buttons tab.
                           if (!KeyFlow()) return;
                           if (page_.GetFunctionView() != kKeysView)
                             page_.SetFunctionView(kKeysView);
                           if (key_flow_->SelectKey(key) == KeySelection::kSelect) {
                             chosen_key_ = key;
                             if (key_panel_) ShowChosenButton(*key_panel_, ButtonLabel(key));
                           }
                         });
}

QWidget* MousePanels::SubLayoutPanel(const char* layout, const char* name) {
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

void MousePanels::BuildSettingsPanels() {
  if (settings_panel_ || !area_) return;
  if (QWidget* settings = SubLayoutPanel(MouseSettingsPanel::kSettingsLayout, "mouse_settings"))
    area_->SetViewPanel(kSettingsView, settings);
  if (QWidget* pointer = SubLayoutPanel(MouseSettingsPanel::kPointerLayout, "mouse_pointer"))
    area_->SetViewPanel(kPointerView, pointer);
  settings_panel_ = std::make_unique<MouseSettingsPanel>(client_, page_);
  settings_panel_->Bind(&page_);
  settings_panel_->Refresh();
}

void MousePanels::BuildKeyPanel() {
  if (key_panel_ || !area_) return;
  auto* panel = new CKeySetControlUI;
  panel->setObjectName(QStringLiteral("mouse_key_set_panel"));
  if (!panel->Attach()) {
    qCWarning(lcVorlin) << "the mouse's key assignment panel cannot be built";
    delete panel;
    return;
  }
  panel->SetDeviceKind(kKeySetMouse);
  key_panel_ = panel;
  ShowChosenButton(*panel, QString());  // none chosen yet: the panel says how to choose one
  key_flow_ = std::make_unique<KeyAssignmentFlow>(*panel, client_, page_, page_);
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
  auto* keys_page = new QWidget;
  keys_page->setObjectName(QStringLiteral("mouse_keys_page"));
  keys_page->setProperty("plain", true);
  auto* box = new QVBoxLayout(keys_page);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(12);
  box->addWidget(panel);
  if (QWidget* list = SubLayoutPanel(MouseSettingsPanel::kKeyInfoLayout, "mouse_key_info")) {
    box->addWidget(list);
    key_info_ = FindControl<QListWidget>(list, QLatin1String(kKeyInfoListName));
  }
  box->addStretch(1);
  area_->SetViewPanel(kKeysView, keys_page);
  // What the panel would have shown had it been there from the start.
  ShowMacroNames();
  ShowKeyInformation();
  const std::optional<MouseView>& mouse = client_.View().mouse;
  if (mouse && mouse->keysPending) panel->EnableEditingButtons(true);
}

void MousePanels::BuildMacroPanel() {
  if (macro_panel_ || !area_) return;
  auto* panel = new CMacroControlUI;
  panel->setObjectName(QStringLiteral("mouse_macro_panel"));
  panel->SetHost(&client_, &page_);
  panel->SetFolder(UserDataFolder(page_.Folders(), page_.Product().dataName));
  connect(panel, &CMacroControlUI::macroEventsChanged, this, [this](int number) {
    // A key playing the macro makes the mouse's copy out of date until the keys are applied.
    // The key panel is built for it if it is not yet: its apply buttons must say so.
    if (!client_.KeysUseMacro(number)) return;
    if (CKeySetControlUI* keys = KeyPanel()) keys->EnableEditingButtons(true);
  });
  macro_panel_ = panel;
  area_->SetViewPanel(kMacrosView, panel);
}

void MousePanels::BuildShootPanel() {
  if (shoot_panel_ || !area_) return;
  auto* panel = new CShootControlUI;
  panel->setObjectName(QStringLiteral("mouse_shoot_panel"));
  panel->SetHost(&client_, &page_);
  panel->SetDataFolder(UserDataFolder(page_.Folders(), page_.Product().dataName));
  panel->SetDefaultFolder(DefaultDataFolder(page_.Folders()));
  panel->InitGuns();
  shoot_panel_ = panel;
  area_->SetViewPanel(kRecoilView, panel);
}

void MousePanels::CaptureKeys(bool on) {
  if (!on) {
    page_.StopCapture();
    if (capture_tip_) capture_tip_->hide();
    return;
  }
  // Mode 1: the key to assign (keys and mouse buttons).
  page_.StartCapture(1, [this](const HookEvent& event) {
    if (!event.keyboard || !key_flow_) return;
    key_flow_->ApplyCapturedKey(
        ScanCode{static_cast<uint8_t>(event.key.scan_code), (event.key.flags & 1u) != 0});
  });
  if (capture_tip_) capture_tip_->setVisible(page_.CaptureLimitedToWindow());
}

// ---- The mouse's view ----

void MousePanels::Refresh() {
  if (settings_panel_) settings_panel_->Refresh();
  const std::vector<std::string> names = client_.MacroNames();
  if (names != shown_macro_names_) ShowMacroNames();
  ShowKeyInformation();
  const std::optional<MouseView>& mouse = client_.View().mouse;
  if (mouse && mouse->keysPending && key_panel_) key_panel_->EnableEditingButtons(true);
}

void MousePanels::ShowMacroNames() {
  shown_macro_names_ = client_.MacroNames();
  if (key_panel_) key_panel_->SetMacroNames(ToStringList(shown_macro_names_));
}

void MousePanels::OnReport(const DeviceReport& report) {
  switch (report.action) {
    case DeviceReport::Action::kKeys:
      if (key_flow_) key_flow_->ApplyFinished(report);
      break;
    case DeviceReport::Action::kRecoil:
      if (shoot_panel_) shoot_panel_->SendFinished(report.outcome == ChangeOutcome::kWritten);
      break;
    case DeviceReport::Action::kProfile:
    case DeviceReport::Action::kReset: {
      // Another profile (or the factory settings): the key panel shows its function of the
      // selected button, and what waited to be applied belonged to the profile before.
      const int selected = page_.SelectedKey();
      const std::vector<KeyAssignmentPair> keys = client_.KeyList();
      if (key_panel_) {
        if (selected >= 0 && static_cast<size_t>(selected) < keys.size())
          key_panel_->ShowAssignment(keys[static_cast<size_t>(selected)]);
        key_panel_->EnableEditingButtons(false);
      }
      page_.ShowChangedKeys();
      break;
    }
    case DeviceReport::Action::kLighting:
    case DeviceReport::Action::kSettings:
      break;
  }
}

void MousePanels::ShowKeyInformation() {
  const std::vector<KeyAssignmentPair> keys = client_.KeyList();
  const std::vector<std::string> macros = client_.MacroNames();
  const std::vector<CDeviceKeyButtonUI*>& buttons = page_.KeyButtons();
  std::vector<KeyInfoRow> rows;
  for (size_t i = 0; i < keys.size() && i < buttons.size(); ++i) {
    CDeviceKeyButtonUI* button = buttons[i];
    if (!button) {
      rows.push_back({QString(), QString(), false});
      continue;
    }
    const KeyAssignment& current = keys[i].current;
    const std::string name = AssignmentName(
        FunctionCode{current.code[0], current.code[1], current.code[2]}, macros, TranslatedText);
    const QString label = ButtonLabel(static_cast<int>(i));
    button->setToolTip(label.isEmpty()
                           ? QString::fromStdString(name)
                           : label + QStringLiteral(": ") + QString::fromStdString(name));
    rows.push_back({label, QString::fromStdString(name), !button->isHidden()});
  }
  if (key_info_) ShowKeyInfoRows(key_info_, rows);
  // The chosen button's name follows the language too.
  if (key_panel_ && chosen_key_ >= 0) ShowChosenButton(*key_panel_, ButtonLabel(chosen_key_));
}

QString MousePanels::ButtonLabel(int key) {
  if (key < 0 || static_cast<size_t>(key) >= kDefaultButtonCodeTable.size()) return {};
  return Translator::Instance().Text(
      QString::fromLatin1(kDefaultButtonCodeTable[static_cast<size_t>(key)].label));
}

// ---- Notifications ----

bool MousePanels::HandleNotification(const Notification& notification) {
  if (bindings_.Dispatch(notification)) return true;
  if (settings_panel_ && settings_panel_->HandleNotification(notification)) return true;
  if (key_flow_ && key_flow_->HandleNotification(notification)) return true;
  if (macro_panel_ && macro_panel_->HandleNotification(notification)) return true;
  if (shoot_panel_ && shoot_panel_->HandleNotification(notification)) return true;
  return false;
}

}  // namespace vorlin
