// The main window's side of the devices: one page and one selector option per product, and the
// selector strip that shows the devices that are connected. The devices themselves, discovery and
// the bindings are the DeviceManager's; the window follows what it reports.

#include <QAbstractButton>
#include <QBoxLayout>
#include <QLabel>
#include <QStackedWidget>

#include "app/main_window.h"
#include "app/access_notice.h"
#include "app/report_status_bar.h"
#include "devices/device_client.h"
#include "devices/device_manager.h"
#include "devices/usb_device.h"
#include "hid/device_link.h"
#include "pages/device_option.h"
#include "pages/device_page.h"
#include "platform/log.h"
#include "shell/app_paths.h"
#include "ui/controls.h"
#include "ui/layout_loader.h"
#include "ui/skin_picture.h"
#include "ui/translator.h"

namespace vorlin {

namespace {

constexpr char kPowerPanelLayout[] = "XML\\CustomControlXML\\MpDevicePower.xml";
constexpr QSize kPowerPictureSize{18, 18};

ProfileFolders ShellFolders() {
  return {InstallFolder().toStdString(), UserDataFolder().toStdString()};
}

}  // namespace

// ---- The devices ----

void CMainWnd::CreateDevices() {
  DeviceManagerOptions manager_options;
  manager_options.folders = options_.folders.value_or(ShellFolders());
  manager_options.ownThreads = options_.deviceThreads;
  manager_options.scanner = std::move(options_.scanner);
  devices_ = std::make_unique<DeviceManager>(
      options_.catalogue.value_or(ProductCatalogue::BuiltIn()), std::move(manager_options));
  devices_->CreateDevices();
  connect(devices_.get(), &DeviceManager::firstPassDone, this, &CMainWnd::OnFirstPass);
  connect(devices_.get(), &DeviceManager::connectionChanged, this,
          &CMainWnd::OnConnectionChanged);
  connect(devices_.get(), &DeviceManager::optionRequested, this,
          [this](size_t index, bool show) { ShowOptionOfProduct(index, show); });
  connect(devices_.get(), &DeviceManager::interfaceArrived, this, &CMainWnd::OnInterfacesChanged);
  connect(devices_.get(), &DeviceManager::interfaceLost, this, &CMainWnd::OnInterfacesChanged);
  connect(devices_.get(), &DeviceManager::firmwareNotice, this, &CMainWnd::OnFirmwareNotice);
  pages_.assign(devices_->Count(), nullptr);
  for (size_t index = 0; index < devices_->Count(); ++index) {
    CHalvexUSBDevice* device = devices_->Device(index);
    if (!device) continue;
    lighting_sync_.AddDevice(device->Link(), device->Lighting());
    pages_[index] = CreateDevicePage(index);
  }
}

DiscoveryScanner* CMainWnd::Scanner() const {
  return devices_ ? devices_->Scanner() : nullptr;
}

void CMainWnd::PostToDevice(size_t index, std::function<void(CHalvexUSBDevice&)> work) {
  if (devices_) devices_->Post(index, std::move(work));
}

void CMainWnd::OnFirstPass() {
  if (shut_down_) return;
  first_pass_done_ = true;
  Refit();
  OnInstanceMessage();
  emit FirstPassCompleted();
}

void CMainWnd::OnInterfacesChanged() {
  if (shut_down_) return;
  UpdateStatusText();
  if (first_pass_done_) OnInstanceMessage();
}

void CMainWnd::OnConnectionChanged(size_t index, ConnectionKind connection) {
  if (shut_down_) return;
  switch (connection) {
    case ConnectionKind::kCable:
      ShowOptionOfProduct(index, true);
      break;
    case ConnectionKind::kReceiver:
      // Shown once the device answers through its receiver (the device asks for it then).
      break;
    case ConnectionKind::kNone:
      if (DevicePage* page = PageOf(index)) DisconnectOption(IndexOfOption(page->Option()));
      break;
  }
}

// ---- Pages ----

std::vector<DevicePage*> CMainWnd::Pages() const {
  std::vector<DevicePage*> pages;
  for (DevicePage* page : pages_) {
    if (page) pages.push_back(page);
  }
  return pages;
}

DevicePage* CMainWnd::PageOf(size_t index) const {
  return index < pages_.size() ? pages_[index] : nullptr;
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

DevicePage* CMainWnd::CreateDevicePage(size_t index) {
  const ProductEntry& product = devices_->Catalogue().Product(index);
  CHalvexUSBDevice* device = devices_->Device(index);
  DeviceClient* client = devices_->Client(index);
  if (!device || !client || !strip_ || !device_switch_ || !power_switch_ || !strip_->layout())
    return nullptr;
  const QString data_name = QString::fromStdString(product.dataName);

  // The three parts, each in its place in the window so that it joins the window's option groups
  // and notifications; any that cannot be built takes the others with it.
  auto* power = new QWidget;
  power->setObjectName(data_name + QStringLiteral("_power"));
  power->setProperty("plain", true);
  power_switch_->addWidget(power);
  auto* option = new CDeviceOptionUI(QString::fromStdString(product.optionLayout), strip_);
  auto* page = new DevicePage(product, devices_->Folders(), *client, device->Lighting(),
                              input_capture_.get());
  device_switch_->addWidget(page);
  const bool power_built =
      AttachSubLayout(power, QString::fromLatin1(kPowerPanelLayout)) != nullptr;
  ShowSkinPictures(power, kPowerPictureSize);
  if (!power_built || !option->IsBuilt() || !page->Build()) {
    qCWarning(lcVorlin) << "cannot build the page of" << data_name;
    delete page;
    delete option;
    delete power;
    return nullptr;
  }
  power_panels_.push_back(power);
  page->SetPowerPanel(power);
  page->SetWindowActive(active_);
  PostToDevice(index, [on = light_control_ == 1](CHalvexUSBDevice& each) {
    each.SetHostLighting(on);
  });
  // The option, before the strip's trailing stretch.
  auto* strip_layout = qobject_cast<QBoxLayout*>(strip_->layout());
  if (strip_layout) {
    strip_layout->insertWidget(static_cast<int>(Options().size()), option);
  } else {
    strip_->layout()->addWidget(option);
  }
  option->SetGroup(QString::fromStdString(product.tabGroup));
  option->BindTab(device_switch_, device_switch_->indexOf(page));
  option->SetPowerContainer(QString::fromStdString(product.powerContainer),
                            power_switch_->indexOf(power));
  option->SetKind(product.cable.kind, product.variant, QString::fromStdString(product.iconStem));
  option->ShowSynchro(false);
  option->SetShown(false);
  option->setProperty("dataName", data_name);
  if (QLabel* caption = option->findChild<QLabel*>(QStringLiteral("device_select_name"))) {
    Translator::Instance().SetTextKey(
        caption, QString::fromStdString(product.iconStem) + QStringLiteral("_device_name_text"));
  }
  option->SetPage(page);
  page->SetOption(option);
  connect(page, &DevicePage::reported, this,
          [this, page](const DeviceReport& report) { ShowReport(page, report); });
  return page;
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

void CMainWnd::ShowOptionOfProduct(size_t index, bool show) {
  DevicePage* page = PageOf(index);
  if (!page || !page->Option()) return;
  const int option = IndexOfOption(page->Option());
  if (!show) {
    DisconnectOption(option);
    return;
  }
  if (page->Option()->Shown()) return;
  // The first device shown is selected. Devices connect in no fixed order: while the user has not
  // chosen one, the selection stays on the first shown option of the strip.
  int selected = -1;
  const std::vector<CDeviceOptionUI*> options = Options();
  for (size_t i = 0; i < options.size(); ++i) {
    if (options[i]->Shown() && options[i]->IsSelected()) selected = static_cast<int>(i);
  }
  ShowOption(option, true, selected < 0 || (selection_automatic_ && option < selected));
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
    const bool was_automatic = selecting_automatically_;
    selecting_automatically_ = true;
    option->Select(true);
    selecting_automatically_ = was_automatic;
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
  // "Use on all devices" is offered while several devices are shown; one device alone cannot be
  // synchronised with others.
  for (DevicePage* page : Pages()) page->SetSameModeAllowed(shown > 1);
  if (shown <= 1 && devices_) {
    for (CHalvexUSBDevice* device : devices_->Devices()) device->LeaveSynchronisedLighting();
  }
  if (synchro <= 1) {
    for (CDeviceOptionUI* each : options) each->SetSynchroSelected(false);
  }
  UpdateStatusText();
}

void CMainWnd::OnDeviceOptionChosen(QWidget* sender) {
  CDeviceOptionUI* option = OptionOfControl(sender);
  if (!option || !option->IsSelected()) return;
  if (!selecting_automatically_) selection_automatic_ = false;
  selected_option_ = IndexOfOption(option);
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
  if (access_notice_) access_notice_->SetWatching(!any);
  if (!any && device_switch_) SelectTab(device_switch_, 0);
}

void CMainWnd::UpdateStatusText() {
  if (!status_text_ || (report_bar_ && report_bar_->Show())) return;
  int connected = 0;
  for (CDeviceOptionUI* option : Options()) connected += option->Shown() ? 1 : 0;
  const QString key = connected == 0   ? QStringLiteral("status_no_device_text")
                      : connected == 1 ? QStringLiteral("status_one_device_text")
                                       : QStringLiteral("status_devices_text");
  const QString text = Translator::Instance().Text(key);
  status_text_->setText(text.contains(QLatin1String("%1")) ? text.arg(connected) : text);
}

}  // namespace vorlin
