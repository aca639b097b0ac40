// The main window's side of discovery: the pages of the device option rows, binding the
// interfaces the scanner finds to them, and the selector strip that shows the connected devices.

#include <mutex>

#include <QAbstractButton>
#include <QBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QTimer>

#include "app/blocking_ui_call.h"
#include "devices/device_option.h"
#include "devices/device_classes.h"
#include "devices/usb_device.h"
#include "devices/device_rows.h"
#include "app/main_window.h"
#include "hid/device_link.h"
#include "platform/log.h"
#include "shell/bring_to_front.h"
#include "ui/controls.h"
#include "ui/layout_loader.h"
#include "ui/skin_picture.h"
#include "ui/translator.h"

namespace vorlin {

namespace {

constexpr char kPowerPanelLayout[] = "XML\\CustomControlXML\\MpDevicePower.xml";
constexpr QSize kPowerPictureSize{18, 18};

void LogArrival(uint16_t kind, bool arrived) {
  switch (FamilyOfKind(kind)) {
    case DeviceFamily::kKeyboard:
      qCInfo(lcVorlin).noquote() << (arrived ? "添加一个键盘设备" : "删除一个键盘设备");
      break;
    case DeviceFamily::kMouse:
      qCInfo(lcVorlin).noquote() << (arrived ? "添加一个鼠标设备" : "删除一个鼠标设备");
      break;
    case DeviceFamily::kMousePad:
      qCInfo(lcVorlin).noquote() << (arrived ? "添加一个鼠标垫设备" : "删除一个鼠标垫设备");
      break;
    case DeviceFamily::kHeadset:
      qCInfo(lcVorlin).noquote() << (arrived ? "添加一个耳机设备" : "删除一个耳机设备");
      break;
    case DeviceFamily::kNone:
      break;
  }
}

}  // namespace

// ---- Sink calls: the scanner's thread waits while the UI thread handles them. ----

void CMainWnd::InterfaceArrived(size_t slot) {
  BlockingUiCall(
      this, [this, slot] { OnInterfaceArrived(slot); }, scanner_->StopSignal());
}

void CMainWnd::InterfaceLost(size_t slot) {
  BlockingUiCall(
      this, [this, slot] { OnInterfaceLost(slot); }, scanner_->StopSignal());
}

void CMainWnd::FirstPassDone() {
  BlockingUiCall(
      this, [this] { OnFirstPass(); }, scanner_->StopSignal());
}

void CMainWnd::OnFirstPass() {
  if (shut_down_) return;
  first_pass_done_ = true;
  Refit();
  OnInstanceMessage();
  emit FirstPassCompleted();
}

// ---- Pages ----

std::vector<CHalvexUSBDevice*>* CMainWnd::ListOf(DeviceFamily family) {
  switch (family) {
    case DeviceFamily::kMouse:
      return &mice_;
    case DeviceFamily::kKeyboard:
      return &keyboards_;
    case DeviceFamily::kMousePad:
      return &pads_;
    case DeviceFamily::kHeadset:
      return &headsets_;
    case DeviceFamily::kNone:
      break;
  }
  return nullptr;
}

std::vector<CHalvexUSBDevice*> CMainWnd::Pages() const {
  std::vector<CHalvexUSBDevice*> pages;
  for (const auto* list : {&pads_, &mice_, &keyboards_, &headsets_}) {
    pages.insert(pages.end(), list->begin(), list->end());
  }
  return pages;
}

std::vector<CDeviceOptionUI*> CMainWnd::Options() const {
  std::vector<CDeviceOptionUI*> options;
  if (!strip_ || !strip_->layout()) return options;
  QLayout* layout = strip_->layout();
  for (int i = 0; i < layout->count(); ++i) {
    if (auto* option = qobject_cast<CDeviceOptionUI*>(layout->itemAt(i)->widget())) {
      options.push_back(option);
    }
  }
  return options;
}

int CMainWnd::IndexOfOption(const CDeviceOptionUI* option) const {
  const std::vector<CDeviceOptionUI*> options = Options();
  for (size_t i = 0; i < options.size(); ++i) {
    if (options[i] == option) return static_cast<int>(i);
  }
  return -1;
}

CHalvexUSBDevice* CMainWnd::FindPage(const InterfaceEntry& key) const {
  for (CDeviceOptionUI* option : Options()) {
    CHalvexUSBDevice* page = option->Device();
    if (page && SameDeviceKey(page->Key(), key)) return page;
  }
  return nullptr;
}

CHalvexUSBDevice* CMainWnd::CreateDevicePage(const InterfaceEntry& rowEntry) {
  InterfaceEntry key = rowEntry;
  // A receiver row leads to the page of its cable row.
  if (IsReceiverKind(key.kind) && key.hasPartner && key.partner < InterfaceTable().size()) {
    key = InterfaceTable()[key.partner];
  }
  const std::optional<size_t> row = FindOptionRow(key.vendorId, key.productId, key.kind);
  if (!row || !strip_ || !device_switch_ || !power_switch_ || !strip_->layout()) return nullptr;
  const DeviceOptionEntry& option_row = DeviceOptionTable()[*row];
  const DevicePageEntry& page_row = DevicePageTable()[*row];
  const DeviceFamily family = FamilyOfKind(key.kind);

  // The three parts, each in its place in the window so that it joins the window's option groups
  // and notifications; any that cannot be built takes the others with it.
  auto* power = new QWidget;
  power->setObjectName(option_row.dataName + QStringLiteral("_power"));
  power->setProperty("plain", true);
  power_switch_->addWidget(power);
  auto* option = new CDeviceOptionUI(option_row.optionLayout, strip_);
  std::unique_ptr<CHalvexUSBDevice> made = CreateDeviceObject(family);
  CHalvexUSBDevice* page = made.release();
  if (page) device_switch_->addWidget(page);
  const bool power_built =
      AttachSubLayout(power, QString::fromLatin1(kPowerPanelLayout)) != nullptr;
  ShowSkinPictures(power, kPowerPictureSize);
  DevicePageInit init;
  init.layout = page_row.pageLayout;
  init.lightCount = page_row.lightCount;
  init.keyCount = page_row.keyCount;
  // Every page knows its row (also the headset's), so that it can ask for its option by row.
  init.pageRow = static_cast<int>(*row);
  init.statusPanel = page_row.statusPanel;
  init.mouseValue = family == DeviceFamily::kMouse ? page_row.mouseValue : -1;
  init.dataName = option_row.dataName;
  init.powerPanel = power;
  init.key = key;
  init.lightIndex = option_row.lightIndex;
  init.lightConfigName = page_row.lightConfigName;
  if (!power_built || !option->IsBuilt() || !page || !page->AttachPage(init)) {
    qCWarning(lcVorlin) << "cannot build the page of" << option_row.dataName;
    delete page;
    delete option;
    delete power;
    return nullptr;
  }
  // 1. The power panel.
  power_panels_.push_back(power);
  // 2. The page.
  ListOf(family)->push_back(page);
  lighting_sync_.AddDevice(page->Link(), page->Lighting());
  page->SetHostLighting(light_control_ == 1);
  connect(page, &CHalvexUSBDevice::OptionShowRequested, this,
          [this](int page_row, bool show) { ShowOptionOfRow(page_row, show); });
  // 3. The option, before the strip's trailing stretch.
  auto* strip_layout = qobject_cast<QBoxLayout*>(strip_->layout());
  const int at = strip_layout ? static_cast<int>(Options().size()) : -1;
  if (strip_layout) {
    strip_layout->insertWidget(at, option);
  } else {
    strip_->layout()->addWidget(option);
  }
  option->SetGroup(option_row.tabGroup);
  option->BindTab(device_switch_, device_switch_->indexOf(page));
  option->SetPowerContainer(option_row.powerContainer, power_switch_->indexOf(power));
  option->SetKind(option_row.kind, option_row.variant);
  option->ShowSynchro(false);
  option->SetShown(false);
  option->setProperty("dataName", option_row.dataName);
  if (QLabel* caption = option->findChild<QLabel*>(QStringLiteral("device_select_name"))) {
    Translator::Instance().SetTextKey(
        caption, DeviceIconStem(option_row.kind, option_row.variant) + "_device_name_text");
  }
  option->SetDevice(page);
  page->SetOption(option);
  page->SetInputCapture(input_capture_.get());
  return page;
}

// ---- Arrival and loss ----

void CMainWnd::OnInterfaceArrived(size_t slot) {
  if (slot >= slots_.size() || shut_down_) return;
  const InterfaceEntry& entry = slots_[slot];
  LogArrival(entry.kind, true);
  if (const std::optional<InterfaceEntry> key = PageKeyOfSlot(slots_, slot)) {
    if (!FindPage(*key)) CreateDevicePage(*key);
  }
  if (entry.role == kRoleEvent) {
    BindEventInterface(slot);
  } else {
    BindCommandInterface(slot);
  }
  UpdateStatusText();
  if (first_pass_done_) OnInstanceMessage();
}

void CMainWnd::BindCommandInterface(size_t slot) {
  const InterfaceEntry& entry = slots_[slot];
  const DeviceFamily family = FamilyOfKind(entry.kind);
  const bool two_ways = family == DeviceFamily::kMouse || family == DeviceFamily::kKeyboard;
  if (two_ways && PartnerBound(slots_, slot)) {
    // Already connected the other way: a cable takes over, a receiver waits behind the cable.
    if (!IsReceiverKind(entry.kind)) SwitchConnection(slot);
    return;
  }
  const std::optional<InterfaceEntry> key = PageKeyOfSlot(slots_, slot);
  CHalvexUSBDevice* page = key ? FindPage(*key) : nullptr;
  if (!page || page->Link().open.load()) return;

  const bool receiver = IsReceiverKind(entry.kind);
  bool opened = false;
  {
    std::lock_guard lock(page->Link().TransferLock());
    HidDevice& device = receiver ? page->Link().ReceiverInterface() : page->Link().WiredInterface();
    if (device.Open(entry.path, true, true, true, false)) {
      page->Link().open.store(true);
      page->Link().SetConnectionMode(receiver ? 2 : 1);
      page->SetOnReceiver(receiver);
      page->StoreKey(*key, entry.kind, entry.role);
      opened = true;
    }
  }
  if (!opened) {
    qCWarning(lcVorlin) << "cannot open the command interface" << entry.path.c_str();
    return;
  }
  CDeviceOptionUI* option = page->Option();
  if (!option) return;
  if (!receiver) {
    bool any_shown = false;
    for (CDeviceOptionUI* other : Options()) any_shown = any_shown || other->Shown();
    ShowOption(IndexOfOption(option), true, !any_shown);
  }
  page->ScheduleStartUp();
}

void CMainWnd::BindEventInterface(size_t slot) {
  const InterfaceEntry& entry = slots_[slot];
  const std::optional<InterfaceEntry> key = PageKeyOfSlot(slots_, slot);
  if (CHalvexUSBDevice* page = key ? FindPage(*key) : nullptr) {
    page->OpenEventInterface(entry.path, entry.kind);
  }
}

void CMainWnd::SwitchConnection(size_t slot) {
  const std::optional<InterfaceEntry> key = PageKeyOfSlot(slots_, slot);
  CHalvexUSBDevice* page = key ? FindPage(*key) : nullptr;
  if (!page) return;
  const InterfaceEntry& entry = slots_[slot];
  // A cable slot that is bound has just arrived: the device moves to it; otherwise it has gone.
  const bool to_cable = entry.bound != 0;
  const std::string path =
      to_cable ? entry.path : (entry.partner < slots_.size() ? slots_[entry.partner].path : "");
  bool opened = false;
  {
    DeviceLink& link = page->Link();
    std::lock_guard lock(link.TransferLock());
    link.open.store(false);
    HidDevice& leaving = to_cable ? link.ReceiverInterface() : link.WiredInterface();
    HidDevice& joining = to_cable ? link.WiredInterface() : link.ReceiverInterface();
    // The interface we leave stays open while the receiver waits behind the cable; a cable that
    // is gone is closed.
    if (!to_cable) leaving.Close();
    joining.Close();
    if (!path.empty() && joining.Open(path, true, true, true, false)) {
      link.open.store(true);
      link.SetConnectionMode(to_cable ? 1 : 2);
      page->SetOnReceiver(!to_cable);
      opened = true;
    }
  }
  if (!opened) {
    // The device cannot be reached either way now.
    CloseDevice(page);
    return;
  }
  if (to_cable) {
    if (page->Option()) {
      page->ScheduleStartUp();
      ShowOptionOfRow(page->Init().pageRow, true);
      CloseSecondaryWindows();
    }
    if (page->HasStatusPanel()) page->PollStatus();
    return;
  }
  // Now through the receiver. The device behind it may be off: its status is read when it
  // answers, here or later on the link watch, which also shows or hides its option.
  if (page->HasStatusPanel()) {
    if (page->Link().ProbeWireless()) {
      qCInfo(lcVorlin).noquote() << "获取2";
      page->PollStatus();
    } else {
      qCInfo(lcVorlin).noquote() << "获取2.4G模式失败";
    }
  }
  if (page->Option()) {
    page->Link().BeginConfig();
    page->Scheduler().Start(DeviceScheduler::kLinkWatch, DeviceScheduler::kLinkWatchFirstMs);
    page->ReadDeviceState();
    page->ShowConnectionState();
    CloseSecondaryWindows();
  }
}

void CMainWnd::OnInterfaceLost(size_t slot) {
  if (slot >= slots_.size() || shut_down_) return;
  const InterfaceEntry& entry = slots_[slot];
  LogArrival(entry.kind, false);
  const std::optional<InterfaceEntry> key = PageKeyOfSlot(slots_, slot);
  CHalvexUSBDevice* page = key ? FindPage(*key) : nullptr;
  if (entry.role == kRoleEvent) {
    if (page) page->CloseEventInterface(entry.kind);
  } else {
    const DeviceFamily family = FamilyOfKind(entry.kind);
    if (family == DeviceFamily::kMouse) qCInfo(lcVorlin).noquote() << "鼠标设备丢失";
    if (family == DeviceFamily::kKeyboard) qCInfo(lcVorlin).noquote() << "键盘设备丢失";
    const bool two_ways = family == DeviceFamily::kMouse || family == DeviceFamily::kKeyboard;
    if (two_ways && PartnerBound(slots_, slot)) {
      if (!IsReceiverKind(entry.kind)) SwitchConnection(slot);
    } else if (page) {
      CloseDevice(page);
    }
  }
  UpdateStatusText();
}

void CMainWnd::CloseDevice(CHalvexUSBDevice* page) {
  {
    std::lock_guard lock(page->Link().TransferLock());
    page->Link().open.store(false);
  }
  page->Link().WiredInterface().Close();
  page->Link().ReceiverInterface().Close();
  page->Disconnected();
  DisconnectOption(IndexOfOption(page->Option()));
}

// ---- The selector strip ----

void CMainWnd::DisconnectOption(int index) {
  const std::vector<CDeviceOptionUI*> options = Options();
  if (index < 0 || index >= static_cast<int>(options.size())) return;
  CDeviceOptionUI* option = options[static_cast<size_t>(index)];
  int other = -1;
  if (option->Shown() && option->IsSelected()) {
    CloseSecondaryWindows();
    for (size_t i = 0; i < options.size(); ++i) {
      if (static_cast<int>(i) != index && options[i]->Shown()) {
        other = static_cast<int>(i);
        break;
      }
    }
  }
  ShowOption(index, false, false);
  if (option->IsSelected()) {
    option->Select(false, false);
    if (selected_option_ == index) selected_option_ = -1;
  }
  if (other >= 0) ShowOption(other, true, true);
}

void CMainWnd::ShowOptionOfRow(int row, bool show) {
  const std::vector<CDeviceOptionUI*> options = Options();
  for (size_t i = 0; i < options.size(); ++i) {
    CHalvexUSBDevice* page = options[i]->Device();
    if (!page || page->Init().pageRow != row) continue;
    if (show) {
      if (options[i]->Shown()) return;
      bool any_shown = false;
      for (CDeviceOptionUI* other : options) any_shown = any_shown || other->Shown();
      ShowOption(static_cast<int>(i), true, !any_shown);
    } else {
      DisconnectOption(static_cast<int>(i));
      qCInfo(lcVorlin).noquote() << "2.4gcesvdfherhue 1";
    }
    return;
  }
}

void CMainWnd::ShowOption(int index, bool show, bool select) {
  const std::vector<CDeviceOptionUI*> options = Options();
  if (index < 0 || index >= static_cast<int>(options.size())) return;
  CDeviceOptionUI* option = options[static_cast<size_t>(index)];
  option->SetShown(show);
  if (select) {
    if (QStackedWidget* tabs = option->BoundTabs()) SelectTab(tabs, option->BoundIndex());
    if (power_switch_) {
      power_switch_->setVisible(option->PowerIndex() >= 0);
      if (option->PowerIndex() >= 0) SelectTab(power_switch_, option->PowerIndex());
    }
    option->Select(true);
  }
  int shown = 0;
  int synchro = 0;
  for (CDeviceOptionUI* each : options) {
    if (!each->Shown()) continue;
    ++shown;
    if (each->SynchroSelected()) ++synchro;
  }
  if (shown == 0) {
    if (device_switch_) SelectTab(device_switch_, 0);
    if (power_switch_) SelectTab(power_switch_, 0);
  }
  UpdateNoDeviceNotice();
  // One device alone cannot be synchronised with others.
  if (shown <= 1) {
    for (CHalvexUSBDevice* page : Pages()) page->LeaveSynchronisedLighting();
  }
  if (synchro <= 1) {
    for (CDeviceOptionUI* each : options) each->SetSynchroSelected(false);
  }
  UpdateStatusText();
}

void CMainWnd::OnDeviceOptionChosen(QWidget* sender) {
  CDeviceOptionUI* option = OptionOfControl(sender);
  if (!option || !option->IsSelected()) return;
  selected_option_ = IndexOfOption(option);
  selected_minus_mice_ = selected_option_ - static_cast<int>(mice_.size());
  selected_minus_keyboards_ = selected_option_ - static_cast<int>(keyboards_.size());
  selected_kind_ = option->Kind();
  selected_variant_ = option->Variant();
  if (QStackedWidget* tabs = option->BoundTabs()) SelectTab(tabs, option->BoundIndex());
  if (power_switch_) {
    power_switch_->setVisible(option->PowerIndex() >= 0);
    if (option->PowerIndex() >= 0) SelectTab(power_switch_, option->PowerIndex());
  }
}

void CMainWnd::SelectNeighbour(int step) {
  const std::vector<CDeviceOptionUI*> options = Options();
  std::vector<bool> shown;
  int selected = -1;
  for (size_t i = 0; i < options.size(); ++i) {
    shown.push_back(options[i]->Shown());
    if (options[i]->Shown() && options[i]->IsSelected()) selected = static_cast<int>(i);
  }
  if (selected < 0) return;
  const int next = NeighbourShownOption(shown, selected, step);
  if (next >= 0) options[static_cast<size_t>(next)]->Select(true);
}

void CMainWnd::UpdateNoDeviceNotice() {
  bool any = false;
  for (CDeviceOptionUI* option : Options()) any = any || option->Shown();
  if (no_device_) no_device_->setVisible(!any);
  if (!any && device_switch_) SelectTab(device_switch_, 0);
}

void CMainWnd::UpdateStatusText() {
  if (!status_text_) return;
  int connected = 0;
  for (CDeviceOptionUI* option : Options()) connected += option->Shown() ? 1 : 0;
  const QString key = connected == 0   ? QStringLiteral("status_no_device_text")
                      : connected == 1 ? QStringLiteral("status_one_device_text")
                                       : QStringLiteral("status_devices_text");
  const QString text = Translator::Instance().Text(key);
  status_text_->setText(text.contains(QLatin1String("%1")) ? text.arg(connected) : text);
}

}  // namespace vorlin
