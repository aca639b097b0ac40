#include "app/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QStackedWidget>
#include <QTimer>
#include <QWindow>

#include "app/access_notice.h"
#include "app/app_log.h"
#include "app/bus_device_service.h"
#include "app/page_bus_target.h"
#include "app/report_status_bar.h"
#include "devices/device_manager.h"
#include "devices/usb_device.h"
#include "pages/device_option.h"
#include "pages/device_page.h"
#include "key_set/key_set_control_ui.h"
#include "lighting/light_control_ui.h"
#include "macro/macro_control_ui.h"
#include "mouse_settings/mouse_settings_panel.h"
#include "shoot/shoot_control_ui.h"
#include "profile_bar/device_profile_ui.h"
#include "input_qt/device_hook_factory.h"
#include "app/resize_grip.h"
#include "app/window_edges.h"
#include "app/screen_fit.h"
#include "app/settings_window.h"
#include "app/sleep_watch.h"
#include "app/storage_notice.h"
#include "platform/log.h"
#include "shell/about_window.h"
#include "shell/app_identity.h"
#include "shell/app_paths.h"
#include "shell/bring_to_front.h"
#include "shell/language_list.h"
#include "shell/skin_background.h"
#include "shell/skin_settings.h"
#include "shell/skin_window.h"
#include "ui/control_factory.h"
#include "ui/control_timers.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/menu_builder.h"
#include "ui/notify_bridge.h"
#include "ui/skin_manager.h"
#include "ui/translator.h"
#include "ui/window_scale.h"

namespace vorlin {

namespace {

constexpr char kMainLayout[] = "XML_MAIN";
constexpr char kTrayMenuLayout[] = "XML_MENU";

// The sub-layout tags the pages' layouts use; each stands for a panel file of the skin.
void RegisterCustomTags() {
  static bool done = false;
  if (done) return;
  done = true;
  ControlFactory& factory = ControlFactory::Instance();
  const struct {
    const char* tag;
    const char* file;
  } sub_layouts[] = {
      {"DeviceProfileUI", "XML\\CustomControlXML\\DeviceProfile.xml"},
      {"LightSetControlUI", "XML\\CustomControlXML\\LightControl.xml"},
      {"Voice6533SetControlUI", "XML\\CustomControlXML\\Voice6533Control.xml"},
      {"MagicSetControlUI", "XML\\CustomControlXML\\MagicControl.xml"},
      {"KeySetControlUI", "XML\\CustomControlXML\\KeySetControl.xml"},
      {"MacroSetControlUI", "XML\\CustomControlXML\\MacroControl.xml"},
      {"ShootKeySetControlUI", "XML\\CustomControlXML\\ShootControl.xml"},
      {"VirtualSetControlUI", "XML\\CustomControlXML\\VirtualSet.xml"},
  };
  for (const auto& entry : sub_layouts) {
    factory.RegisterSubLayout(QString::fromLatin1(entry.tag), QString::fromLatin1(entry.file));
  }
  // The drawn controls ("SelectPanel", "DeviceKeyButton") come with the toolkit.
  RegisterProfileBarControls();
  RegisterLightControls();
  RegisterMouseSettingsControls();
  RegisterKeySetControls();
  RegisterMacroControls();
  RegisterShootControls();
}

}  // namespace

CMainWnd::CMainWnd(MainWindowOptions options) : options_(std::move(options)) {}

CMainWnd::~CMainWnd() {
  Shutdown();
  SkinObserver::Instance().RemoveReceiver(this);
  CloseSecondaryWindows();
  tray_menu_.reset();
  // The pages (children of the window) go now, then the devices they show.
  pages_.clear();
  window_.reset();
  devices_.reset();
}

bool CMainWnd::Create() {
  RegisterCustomTags();
  // The skin's style sheet is in place, at the scale the window will have, before the first
  // widget is built: set afterwards it would style every widget of the window a second time.
  ApplyStyleSheet(FirstDpi());
  window_ = LoadWindow(QString::fromLatin1(kMainLayout));
  if (!window_) {
    qCWarning(lcVorlin) << "the main window's layout" << kMainLayout << "cannot be built";
    return false;
  }
  window_->setObjectName(QStringLiteral("root"));
  window_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  Translator::Instance().SetTextKey(window_.get(), QLatin1String(kAppTitleKey));
  window_->setWindowIcon(
      QIcon(SkinManager::Instance().FindFile(QStringLiteral("images/app_logo.svg"))));
  window_->setAttribute(Qt::WA_DeleteOnClose, false);
  window_->installEventFilter(this);
  NotifyBridge::Install(window_.get(), this);
  qCDebug(lcVorlin) << "building the main window";
  Translator::Instance().LoadLanguage(QStringLiteral("lan_cn.xml"));
  SkinObserver::Instance().AddReceiver(this);
  FindControls();
  CreateTray();
  BuildRoutes();
  Initialise();
  return true;
}

void CMainWnd::FindControls() {
  QWidget* root = window_.get();
  close_btn_ = FindControl<QAbstractButton>(root, QStringLiteral("closebtn"));
  max_btn_ = FindControl<QAbstractButton>(root, QStringLiteral("maxbtn"));
  restore_btn_ = FindControl<QAbstractButton>(root, QStringLiteral("restorebtn"));
  min_btn_ = FindControl<QAbstractButton>(root, QStringLiteral("minbtn"));
  skin_btn_ = FindControl<QAbstractButton>(root, QStringLiteral("skinbtn"));
  set_btn_ = FindControl<QAbstractButton>(root, QStringLiteral("setbtn"));
  strip_ = FindControl(root, QStringLiteral("device_select_layout"));
  device_switch_ = FindControl<QStackedWidget>(root, QStringLiteral("device_switch"));
  power_switch_ = FindControl<QStackedWidget>(root, QStringLiteral("device_power_switch"));
  no_device_ = FindControl(root, QStringLiteral("No_device_Link"));
  if (options_.accessProblems) {
    if (auto* advice = FindControl<QLabel>(root, QStringLiteral("no_device_access")))
      access_notice_ = std::make_unique<AccessNotice>(advice, options_.accessProblems);
  }
  light_status_ = FindControl<QAbstractButton>(root, QStringLiteral("control_light_status"));
  status_text_ = FindControl<QLabel>(root, QStringLiteral("status_text"));
  report_bar_ = std::make_unique<ReportStatusBar>(
      status_text_, [this] { UpdateStatusText(); },
      [this](const std::string& data_name) { RetryDevice(data_name); });
  report_bar_->SetDeviceNames([this](const std::string& data_name) { return DeviceName(data_name); });
  title_bar_ = FindControl(root, QStringLiteral("title_bar"));
  AddResizeGrip(FindControl(root, QStringLiteral("status_bar")));
  AddWindowEdges(root);
  if (title_bar_) title_bar_->installEventFilter(this);
  if (QWidget* emulated = FindControl(root, QStringLiteral("emulated_label"))) {
    emulated->setVisible(options_.emulated);
  }
}

void CMainWnd::CreateTray() {
  tray_ = std::make_unique<QSystemTrayIcon>(window_->windowIcon());
  const auto tip = [tray = tray_.get()] {
    tray->setToolTip(Translator::Instance().Text(QLatin1String(kAppTitleKey)));
  };
  tip();
  connect(&Translator::Instance(), &Translator::LanguageChanged, tray_.get(), tip);
  connect(tray_.get(), &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (!awake_) return;
            if (reason == QSystemTrayIcon::Trigger) {
              ToggleWindow();
            } else if (reason == QSystemTrayIcon::Context) {
              SetTimer(window_.get(), kTrayMenuTimer, 10);
            }
          });
  if (QSystemTrayIcon::isSystemTrayAvailable()) tray_->show();
}

void CMainWnd::BuildRoutes() {
  using N = const Notification&;
  NotificationRouter& r = router_;
  const QString click = QString::fromLatin1(notify::kClick);
  const QString select = QString::fromLatin1(notify::kSelectChanged);

  r.On(QString::fromLatin1(notify::kWindowInit), QStringLiteral("root"),
       [this](N, int) { Initialise(); });
  r.On(QString::fromLatin1(notify::kWindowSize), QStringLiteral("root"), [this](N, int) {
    if (!refit_pending_) return;
    refit_pending_ = false;
    Refit();
  });
  r.On(QString::fromLatin1(notify::kTimer), QStringLiteral("root"), [this](N n, int) {
    switch (n.timer_id) {
      case kRefitTimer:
        KillTimer(window_.get(), kRefitTimer);
        Refit();
        window_->update();
        break;
      case kKeepAliveTimer:
        SetTimer(window_.get(), kKeepAliveTimer, 5000);
        break;
      case kTrayMenuTimer:
        KillTimer(window_.get(), kTrayMenuTimer);
        ShowTrayMenu();
        break;
      case kGameLightingTimer:
        KillTimer(window_.get(), kGameLightingTimer);
        RestoreGameLighting();
        break;
    }
  });

  r.On(click, QStringLiteral("deng_same_mode"), [this](N, int) { SyncLighting(); });

  // Window buttons.
  r.On(click, QStringLiteral("closebtn"), [this](N, int) {
    CloseSecondaryWindows();
    HideWindow();
  });
  r.On(click, QStringLiteral("nodevice_ok_btn"), [this](N, int) { HideWindow(); });
  r.On(click, QStringLiteral("minbtn"), [this](N n, int) {
    if (n.sender == min_btn_) window_->showMinimized();
  });
  r.On(click, QStringLiteral("maxbtn"), [this](N n, int) {
    if (n.sender != max_btn_) return;
    window_->showMaximized();
    max_btn_->hide();
    if (restore_btn_) restore_btn_->show();
  });
  r.On(click, QStringLiteral("restorebtn"), [this](N n, int) {
    if (n.sender != restore_btn_) return;
    window_->showNormal();
    restore_btn_->hide();
    if (max_btn_) max_btn_->show();
  });
  r.On(click, QStringLiteral("skinbtn"), [this](N, int) {
    if (!skin_) skin_ = std::make_unique<CSkinWnd>(&SkinObserver::Instance(), SkinSettingsPath());
    if (!skin_->Window() && !skin_->Create()) return;
    skin_->Toggle(skin_btn_);
  });
  r.On(click, QStringLiteral("setbtn"), [this](N, int) { ShowSettingsWindow(); });
  for (const char* name : {"gamemodebtn", "cloudbtn", "smarteyesbtn"}) {
    r.On(click, QString::fromLatin1(name), [](N, int) {});
  }
  r.On(click, QStringLiteral("control_light_status"), [this](N, int) { ToggleLightControl(); });
  r.On(click, QStringLiteral("device_select_prev"), [this](N, int) { SelectNeighbour(-1); });
  r.On(click, QStringLiteral("device_select_next"), [this](N, int) { SelectNeighbour(+1); });

  // Selections.
  r.On(select, QStringLiteral("device_select"),
       [this](N n, int) { OnDeviceOptionChosen(n.sender); });
  r.On(select, QStringLiteral("synchro_device_select"), [](N, int) {});
}

void CMainWnd::Initialise() {
  if (initialised_) return;
  initialised_ = true;

  if (options_.useSessionBus) {
    bus_ = std::make_unique<ShellBus>(this);
    if (bus_->Start()) bus_->NotifyLightControl(true);
  }
  settings_ = OpenProgramSettings();
  language_ = std::make_unique<LanguageSwitcher>(this, LanguageConfigPath(), settings_.get());
  language_->Apply(language_->StoredIndex());
  storage_notice_ = std::make_unique<StorageNotice>(window_.get());
  SetLightControl(1, false);
  input_capture_ = options_.inputCapture ? options_.inputCapture(window_.get())
                                         : CreateDeviceHook(window_.get());

  // One device and one page per product, all hidden until their device arrives.
  CreateDevices();
  if (bus_) {
    std::vector<std::unique_ptr<BusDeviceTarget>> targets;
    for (DevicePage* page : pages_) {
      targets.push_back(page ? std::make_unique<PageBusTarget>(*page) : nullptr);
    }
    bus_devices_ = std::make_unique<BusDeviceService>(std::move(targets), *devices_, bus_.get());
  }
  UpdateNoDeviceNotice();
  window_->hide();

  if (options_.followSleep) {
    sleep_ = std::make_unique<SleepWatch>();
    connect(sleep_.get(), &SleepWatch::Suspending, this, &CMainWnd::OnSuspend);
    connect(sleep_.get(), &SleepWatch::Resumed, this, &CMainWnd::OnResume);
    sleep_->Start();
  }
  WatchScreens();

  if (devices_->StartDiscovery()) {
    DiscoveryScanner* scanner = devices_->Scanner();
    threads_.Set(ThreadTable::kScannerSlot, {nullptr, [scanner](std::chrono::milliseconds bound) {
                                               return scanner->Stop(bound) ? StopOutcome::kEnded
                                                                           : StopOutcome::kTimedOut;
                                             }});
  }
  lighting_sync_.StartThread();
  LightingSync* sync = &lighting_sync_;
  threads_.Set(ThreadTable::kLightingSyncSlot,
               {nullptr, [sync](std::chrono::milliseconds bound) {
                  return sync->Worker().Stop(bound) == DeviceWorker::StopOutcome::kLate
                             ? StopOutcome::kTimedOut
                             : StopOutcome::kEnded;
                }});

  SetTimer(window_.get(), kRefitTimer, 100);
  refit_pending_ = true;
  ApplyDpi(FirstDpi());
}

int CMainWnd::FirstDpi() const {
  if (options_.forcedDpi) return options_.forcedDpi;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int dpi = DpiForMonitor(screen ? screen->geometry().size() : kMainWindowSize);
  return IsSupportedDpi(dpi) ? dpi : 96;
}

void CMainWnd::ApplyStyleSheet(int dpi) {
  if (styled_dpi_ == dpi) return;
  styled_dpi_ = dpi;
  qApp->setStyleSheet(ScaleStyleSheet(SkinManager::Instance().StyleSheet(), dpi / 96.0));
}

void CMainWnd::WatchScreens() {
  auto follow = [this](QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &CMainWnd::OnDisplayChanged);
  };
  for (QScreen* screen : QGuiApplication::screens()) follow(screen);
  connect(qApp, &QGuiApplication::screenAdded, this, [this, follow](QScreen* screen) {
    follow(screen);
    OnDisplayChanged();
  });
  connect(qApp, &QGuiApplication::screenRemoved, this, &CMainWnd::OnDisplayChanged);
  connect(qApp, &QGuiApplication::primaryScreenChanged, this, &CMainWnd::OnDisplayChanged);
}

void CMainWnd::OnDisplayChanged() {
  if (!awake_ || shut_down_) return;
  qCInfo(lcVorlin) << "the displays changed: fitting the window again";
  display_changed_ = true;
  Refit();
}

void CMainWnd::Notify(const Notification& notification) {
  if (!notification.Is(u"timer")) {
    qCDebug(lcNotify).noquote() << notification.type;
    qCDebug(lcNotify).noquote() << notification.SenderName();
  }
  // While the system sleeps the window does nothing; the devices are not there to follow.
  if (!awake_ || shut_down_) return;
  // A page answers for its own panels first.
  for (DevicePage* page : Pages()) {
    if (page->HandleNotification(notification)) return;
  }
  router_.Route(notification);
}

bool CMainWnd::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_.get()) {
    switch (event->type()) {
      case QEvent::Close:
        Shutdown();
        break;
      case QEvent::ActivationChange:
        active_ = window_->isActiveWindow();
        for (DevicePage* page : Pages()) page->SetWindowActive(active_);
        break;
      case QEvent::Enter:
      case QEvent::Leave: {
        const bool inside = event->type() == QEvent::Enter;
        qCDebug(lcNotify) << (inside ? "pointer entered the window" : "pointer left the window");
        for (DevicePage* page : Pages()) page->SetWindowActive(inside);
        break;
      }
      default:
        break;
    }
  } else if (watched == title_bar_ && event->type() == QEvent::MouseButtonPress) {
    // The window draws its own title bar: pressing it moves the window.
    auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() == Qt::LeftButton && window_->windowHandle()) {
      window_->windowHandle()->startSystemMove();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

std::vector<size_t> CMainWnd::DevicesWithHostState() const {
  std::vector<size_t> indexes;
  if (!devices_) return indexes;
  for (size_t index = 0; index < devices_->Count(); ++index) {
    const DeviceFamily family = devices_->Catalogue().Product(index).family;
    if (family == DeviceFamily::kMousePad || family == DeviceFamily::kMouse ||
        family == DeviceFamily::kKeyboard)
      indexes.push_back(index);
  }
  return indexes;
}

void CMainWnd::SetDevicesHidden(bool hidden) {
  if (!devices_) return;
  // The flag is an atomic the device reads before it polls its status.
  for (CHalvexUSBDevice* device : devices_->Devices()) device->SetWindowHidden(hidden);
}

void CMainWnd::HideWindow() {
  // Without a tray there would be no way back to a hidden window: it is minimised instead.
  if (tray_ && tray_->isVisible()) {
    window_->hide();
  } else {
    window_->showMinimized();
  }
  SetDevicesHidden(true);
}

void CMainWnd::CloseSecondaryWindows() {
  if (about_) about_->Close();
  if (skin_) skin_->Close();
  if (set_wnd_) set_wnd_->Close();
}

void CMainWnd::ShowSettingsWindow() {
  if (!set_wnd_) {
    CSetWnd::LanguageSource languages;
    languages.entries = [this] { return language_ ? language_->Entries() : DefaultLanguageList(); };
    languages.current = [this] { return language_ ? language_->CurrentIndex() : -1; };
    languages.choose = [this](int index) {
      if (language_) language_->Apply(index);
    };
    set_wnd_ = std::make_unique<CSetWnd>(window_.get(), std::move(languages), UpdateServices());
    set_wnd_->SetAboutOpener([this](QWidget* over) { ShowAboutWindow(over); });
  }
  set_wnd_->Show();
}

void CMainWnd::ToggleWindow() {
  UpdateNoDeviceNotice();
  if (window_->isVisible() && !window_->isMinimized()) {
    CloseSecondaryWindows();
    HideWindow();
    return;
  }
  Refit();
  BringToFront(window_.get());
  SetDevicesHidden(false);
  window_->update();
}

void CMainWnd::OnInstanceMessage() {
  qCInfo(lcVorlin) << "another start asked for the window";
  UpdateNoDeviceNotice();
  SetDevicesHidden(false);
  BringToFront(window_.get());
}

void CMainWnd::ShowTrayMenu() {
  tray_menu_ = BuildMenuFromLayout(QString::fromLatin1(kTrayMenuLayout));
  if (!tray_menu_) return;
  tray_menu_->setStyleSheet(window_->styleSheet());
  connect(tray_menu_.get(), &QMenu::triggered, this,
          [this](QAction* action) { OnMenuChoice(ChoiceOf(action).name); });
  const QPoint cursor = QCursor::pos();
  QScreen* screen = QGuiApplication::screenAt(cursor);
  if (!screen) screen = QGuiApplication::primaryScreen();
  const MenuCorner corner = screen ? TrayMenuCorner(screen->geometry(), screen->availableGeometry())
                                   : MenuCorner::kBottomRight;
  tray_menu_->popup(MenuOrigin(cursor, tray_menu_->sizeHint(), corner));
}

void CMainWnd::OnMenuChoice(const QString& name) {
  if (name == QLatin1String("exit")) {
    CloseSecondaryWindows();
    Quit();
  } else if (name == QLatin1String("about_menu")) {
    ShowAboutWindow(window_.get());
  } else if (name == QLatin1String("setwnd_menu")) {
    ShowSettingsWindow();
  }
}

void CMainWnd::ShowAboutWindow(QWidget* over) {
  if (about_ && about_->Window() && about_->Window()->isVisible()) return;
  about_ = std::make_unique<CAboutWnd>(over);
  about_->Exec();
  about_.reset();
}

void CMainWnd::Quit() {
  if (window_) window_->close();  // the close event shuts everything down
  Shutdown();
}

void CMainWnd::Shutdown() {
  if (shut_down_) return;
  shut_down_ = true;
  if (tray_) tray_->hide();
  qCInfo(lcVorlin) << "shutting down";
  if (window_) {
    window_->hide();
    KillAllTimers(window_.get());
  }
  if (input_capture_) input_capture_->Stop();  // a grabbed keyboard is let go first
  if (set_wnd_) set_wnd_->ForceClose();         // the update workers end before the devices
  threads_.StopAll();
  bus_devices_.reset();  // calls still waiting hear that the program closes
  if (devices_) devices_->Stop();
  emit Closed();
}

void CMainWnd::ToggleLightControl() {
  SetLightControl(light_control_ == 1 ? 0 : 1, true);
}

void CMainWnd::SetLightControl(int state, bool broadcast) {
  light_control_ = state ? 1 : 0;
  if (broadcast && bus_) bus_->NotifyLightControl(light_control_ == 1);
  if (light_status_) {
    Translator::Instance().SetTextKey(light_status_,
                                      light_control_ ? QStringLiteral("light_control_on_text")
                                                     : QStringLiteral("light_control_off_text"));
    const QSignalBlocker quiet(light_status_);
    light_status_->setChecked(light_control_ == 1);
  }
  SetHostLighting(light_control_ == 1);
}

void CMainWnd::SetHostLighting(bool on) {
  for (const size_t index : DevicesWithHostState())
    PostToDevice(index, [on](CHalvexUSBDevice& device) { device.SetHostLighting(on); });
}

void CMainWnd::OnSuspend() {
  awake_ = false;
  SetHostLighting(false);
}

void CMainWnd::OnResume() {
  awake_ = true;
  SetHostLighting(light_control_ == 1);
}

void CMainWnd::ApplyDpi(int dpi) {
  if (!IsSupportedDpi(dpi)) {
    qCWarning(lcVorlin).noquote() << "MAIN_WND DPI SET ERROR" << dpi;
    dpi = 96;
  }
  dpi_ = dpi;
  if (applied_dpi_ == dpi) return;
  applied_dpi_ = dpi;
  // The skin's stylesheet follows the window's scale for every window of the program.
  ApplyStyleSheet(dpi);
  ApplyWindowScale(window_.get(), dpi);
}

void CMainWnd::Refit() {
  if (!window_ || shut_down_) return;
  const bool was_visible = window_->isVisible() && !window_->isMinimized();
  if (window_->isMinimized()) window_->showNormal();
  QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
  const int dpi = options_.forcedDpi
                      ? options_.forcedDpi
                      : DpiForMonitor(screen ? screen->geometry().size() : kMainWindowSize);
  if (window_->isMaximized()) window_->showNormal();
  ApplyDpi(dpi);
  // The user may make the window larger than this, never smaller.
  window_->setMinimumSize(MainWindowSizeAt(dpi_));
  window_->resize(MainWindowSizeAt(dpi_));
  CentreOnScreen();
  if (!was_visible && !window_->isVisible()) return;
  if (was_visible) window_->show();
}

void CMainWnd::CentreOnScreen() {
  QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = window_->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window_->move(frame.topLeft());
}

bool CMainWnd::SaveScreenshot(const QString& path, QString* error) {
  if (!window_) {
    if (error) *error = QStringLiteral("no window");
    return false;
  }
  window_->ensurePolished();
  if (QLayout* layout = window_->layout()) layout->activate();
  const QPixmap picture = window_->grab();
  QImageWriter writer(path, "png");
  if (!writer.write(picture.toImage())) {
    if (error) *error = writer.errorString();
    return false;
  }
  return true;
}

void CMainWnd::OnLightControlRequest(bool take_over) {
  if (!awake_) return;
  SetLightControl(take_over ? 1 : 0, false);
}


std::vector<WorkToolRow> CMainWnd::WorkToolRows() const {
  std::vector<WorkToolRow> rows;
  const ProductCatalogue catalogue =
      devices_ ? devices_->Catalogue() : options_.catalogue.value_or(ProductCatalogue::BuiltIn());
  for (const ProductEntry& product : catalogue.Products()) {
    const UsbId id = product.cable.ids.empty() ? UsbId{} : product.cable.ids.front();
    rows.push_back({id.vendorId, id.productId, product.cable.kind});
  }
  return rows;
}

void CMainWnd::ReplaceFonts(const std::vector<UiFont>& fonts) {
  for (const UiFont& font : fonts) {
    if (font.id == kDefaultFontId) QApplication::setFont(font.font);
  }
}

void CMainWnd::LanguageApplied(int) {
  if (window_) window_->update();
  if (devices_) {
    for (size_t index = 0; index < devices_->Count(); ++index) {
      PostToDevice(index, [](CHalvexUSBDevice& device) {
        device.LoadNameLists();
        device.PublishView();
      });
    }
  }
  UpdateStatusText();
}

void CMainWnd::OnSkinChanged(const SkinChangedParam& param) {
  if (window_) ApplySkinBackground(window_.get(), param);
}

}  // namespace vorlin
