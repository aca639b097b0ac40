#pragma once

// CMainWnd: the program's only top-level window. It owns the device pages and the selector strip
// of device options, runs the discovery scanner, routes every notification of its controls,
// follows the screen's scale, suspend and resume, keeps the tray icon and talks to other programs
// through the shell's session-bus interface.

#include <functional>
#include <optional>
#include <memory>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QStackedWidget>
#include <QSystemTrayIcon>

#include "catalogue/product_catalogue.h"
#include "app/notification_router.h"
#include "app/thread_table.h"
#include "devices/lighting_sync.h"
#include "devices/device_view.h"
#include "hid/discovery_scanner.h"
#include "profiles/profile_folders.h"
#include "input/device_hook.h"
#include "shell/language_switcher.h"
#include "shell/shell_bus.h"
#include "hid/node_access.h"
#include "shell/skin_observer.h"
#include "ui/notification.h"

class QAbstractButton;
class QLabel;
class QMenu;
class QSettings;
class QStackedWidget;
class QWidget;

namespace vorlin {

class AccessNotice;
class BusDeviceService;
class CAboutWnd;
class CDeviceOptionUI;
class CHalvexUSBDevice;
class DeviceManager;
class DevicePage;
struct DeviceReport;
class ReportStatusBar;
class CSetWnd;
class CSkinWnd;
class SleepWatch;
class StorageNotice;
struct UpdatePageServices;

struct MainWindowOptions {
  // The devices are the emulator's: the title bar says so.
  bool emulated = false;
  // The hidraw nodes are in use: the no-device screen says when supported ones cannot be opened,
  // as this finder tells (empty: no such notice).
  std::function<std::vector<NodeAccessProblem>()> accessProblems;
  // A fixed scale instead of the monitor's (0: follow the monitor).
  int forcedDpi = 0;
  // Register the session-bus interface (off in tests that run several windows).
  bool useSessionBus = true;
  // Follow suspend and resume through logind.
  bool followSleep = true;
  DiscoveryScannerOptions scanner;
  // The products the window has pages for (the built-in ones unless a test says otherwise) and
  // where their documents live (the user's folders unless given).
  std::optional<ProductCatalogue> catalogue;
  std::optional<ProfileFolders> folders;
  // Each device on a thread of its own (tests may keep them on the window's thread).
  bool deviceThreads = true;
  // The input capture the key and macro panels use (the input devices, else this window); tests
  // give their own sources.
  std::function<std::unique_ptr<CDeviceHook>(QWidget* window)> inputCapture;
};

class CMainWnd : public QObject,
                 public NotifyHandler,
                 public ShellBusHandler,
                 public LanguageHost,
                 public SkinChangedReceiver {
  Q_OBJECT

 public:
  // Timers of the window (on its root control).
  static constexpr int kRefitTimer = 1011;
  static constexpr int kKeepAliveTimer = 1031;
  static constexpr int kTrayMenuTimer = 1032;
  static constexpr int kGameLightingTimer = 1066;
  static constexpr int kGameLightingRestoreMs = 5000;

  explicit CMainWnd(MainWindowOptions options = {});
  ~CMainWnd() override;

  // Builds the window from "XML_MAIN" and initialises it (hidden until the first discovery pass).
  // False when the layout cannot be built.
  bool Create();

  QWidget* Window() const { return window_.get(); }
  int Dpi() const { return dpi_; }
  bool FirstPassSeen() const { return first_pass_done_; }
  bool Awake() const { return awake_; }
  int LightControl() const { return light_control_; }
  const NotificationRouter& Router() const { return router_; }
  DiscoveryScanner* Scanner() const;
  DeviceManager* Devices() const { return devices_.get(); }

  // The options of the selector strip, in strip order.
  std::vector<CDeviceOptionUI*> Options() const;
  // The page of every product that has one, in catalogue order.
  std::vector<DevicePage*> Pages() const;
  // The page of product `index`; nullptr when it has none.
  DevicePage* PageOf(size_t index) const;
  CDeviceHook* InputCapture() const { return input_capture_.get(); }
  int SelectedOption() const { return selected_option_; }

  // Shows or hides option `index` (and selects it when `select`), then updates the strip.
  void ShowOption(int index, bool show, bool select);
  // Shows the option of product `index` (selecting it only when none was shown), or
  // disconnects it.
  void ShowOptionOfProduct(size_t index, bool show);
  // The about window, modal over `over` (the main window, or the settings window that asked).
  void ShowAboutWindow(QWidget* over);
  // A choice of the tray menu ("setwnd_menu", "about_menu", "exit").
  void OnMenuChoice(const QString& name);
  // The settings window; null until it is first opened.
  CSetWnd* SettingsWindow() const { return set_wnd_.get(); }
  // A later start asked for the window.
  void OnInstanceMessage();
  // Hides or shows the window as the tray icon's left click does.
  void ToggleWindow();
  void ToggleLightControl();
  void SetLightControl(int state, bool broadcast);
  // Suspend and resume.
  void OnSuspend();
  void OnResume();
  // Fits the window to its monitor (size, scale, centre).
  void Refit();
  // The scale of the first window: the one asked for, else the primary monitor's.
  int FirstDpi() const;
  void ApplyStyleSheet(int dpi);
  // "deng_same_mode": every connected device takes the selected device's effect, in step.
  void SyncLighting();
  LightingSync& Sync() { return lighting_sync_; }
  // The page of the selected option; nullptr when none is selected.
  DevicePage* SelectedPage() const;
  // Closes the window: the program ends.
  void Quit();
  // Stops the threads and takes the tray icon away; the pages go with the window. Idempotent.
  void Shutdown();
  // Saves a picture of the window; false (with the reason) when it cannot be written.
  bool SaveScreenshot(const QString& path, QString* error = nullptr);

  // Updates (main_window_updates.cpp).
  // The mouse's firmware notice: its product id and firmware version.
  void OnFirmwareNotice(int product_id, int version);
  // Message 3093: the settings window, centred on the screen.
  void OpenSettingsCentred();
  // Message 3072: "setting_progress" shows while an update is under way.
  void ShowSettingProgress(bool show);
  // Message 3094: the settings button loses its update badge.
  void ClearUpdateBadge();
  bool UpdateBadgeShown() const { return update_badge_; }

  // NotifyHandler
  void Notify(const Notification& notification) override;
  // ShellBusHandler
  void OnLightControlRequest(bool take_over) override;
  void OnInstallerReport(int code, int value) override;
  void OnGameMessage(GameMessage message, int wparam, int lparam) override;
  std::vector<WorkToolRow> WorkToolRows() const override;
  // LanguageHost
  void ReplaceFonts(const std::vector<UiFont>& fonts) override;
  void LanguageApplied(int index) override;
  // SkinChangedReceiver
  void OnSkinChanged(const SkinChangedParam& param) override;

 signals:
  // The first discovery pass is over and the window has been shown.
  void FirstPassCompleted();
  // The window has shut down; the program should leave its event loop.
  void Closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Initialise();
  void FindControls();
  void BuildRoutes();
  void CreateTray();
  void ShowTrayMenu();
  void CloseSecondaryWindows();
  void ShowSettingsWindow();
  void HideWindow();
  void SetDevicesHidden(bool hidden);
  // Whether this program drives the devices' lighting (light control, suspend and resume).
  void SetHostLighting(bool on);
  // The outcome of a change the user made on `page`, on the status bar (report_status_bar.h).
  void ShowReport(const DevicePage* page, const DeviceReport& report);
  // Writes the current profile of the device named `data_name` again.
  void RetryDevice(const std::string& data_name);
  // The product's name in the interface language ("Mouse"), found by its data name.
  QString DeviceName(const std::string& data_name) const;
  void ApplyDpi(int dpi);
  void CentreOnScreen();
  void OnDeviceOptionChosen(QWidget* sender);
  void SelectNeighbour(int step);
  void UpdateNoDeviceNotice();
  void UpdateStatusText();
  void OnDisplayChanged();
  void WatchScreens();

  // The devices and their pages.
  void CreateDevices();
  DevicePage* CreateDevicePage(size_t index);
  void OnFirstPass();
  void OnConnectionChanged(size_t index, ConnectionKind connection);
  void OnInterfacesChanged();
  // Game lighting: the timer's return to the effect the device had before the game's.
  void RestoreGameLighting();
  void DisconnectOption(int index);
  int IndexOfOption(const CDeviceOptionUI* option) const;
  // The devices that follow the window's light control (mouse pads, mice and keyboards).
  std::vector<size_t> DevicesWithHostState() const;
  // Runs `work` on product `index`'s device thread.
  void PostToDevice(size_t index, std::function<void(CHalvexUSBDevice&)> work);

  MainWindowOptions options_;
  // Outlives the window and its pages, which hold it while they capture.
  std::unique_ptr<CDeviceHook> input_capture_;
  std::unique_ptr<QWidget> window_;
  NotificationRouter router_;
  bool initialised_ = false;
  bool shut_down_ = false;

  // Controls found once.
  QPointer<QAbstractButton> close_btn_, max_btn_, restore_btn_, min_btn_, skin_btn_, set_btn_;
  QPointer<QWidget> strip_;
  QPointer<QStackedWidget> device_switch_;
  QPointer<QStackedWidget> power_switch_;
  QPointer<QWidget> no_device_;
  QPointer<QAbstractButton> light_status_;
  QPointer<QLabel> status_text_;
  std::unique_ptr<ReportStatusBar> report_bar_;
  QPointer<QWidget> title_bar_;

  // Devices.
  ThreadTable threads_;
  LightingSync lighting_sync_;
  std::unique_ptr<DeviceManager> devices_;
  std::vector<DevicePage*> pages_;  // by product; owned by the window's page container
  std::vector<QWidget*> power_panels_;
  int selected_option_ = -1;
  // The selection was made by the window, not by the user (it may move to an earlier option).
  bool selection_automatic_ = true;
  bool selecting_automatically_ = false;
  uint32_t selected_kind_ = 0;
  int selected_variant_ = 0;

  // Window state.
  int dpi_ = 96;
  int applied_dpi_ = 0;
  int styled_dpi_ = 0;  // the scale of the application's style sheet
  bool refit_pending_ = false;
  bool display_changed_ = false;
  bool active_ = false;
  int light_control_ = 1;
  bool awake_ = true;
  bool first_pass_done_ = false;

  // Services.
  std::unique_ptr<QSystemTrayIcon> tray_;
  std::unique_ptr<QMenu> tray_menu_;
  std::unique_ptr<ShellBus> bus_;
  // The devices' members of the bus interface (after bus_: it goes first).
  std::unique_ptr<BusDeviceService> bus_devices_;
  std::unique_ptr<QSettings> settings_;
  std::unique_ptr<LanguageSwitcher> language_;
  std::unique_ptr<CAboutWnd> about_;
  std::unique_ptr<CSkinWnd> skin_;
  std::unique_ptr<CSetWnd> set_wnd_;
  std::unique_ptr<SleepWatch> sleep_;
  // Tells the user when settings cannot be stored.
  std::unique_ptr<StorageNotice> storage_notice_;
  std::unique_ptr<AccessNotice> access_notice_;

  // Updates.
  UpdatePageServices UpdateServices();
  void OnUpdateStatus(int window_status);
  bool firmware_current_ = false;
  bool update_badge_ = false;
};

}  // namespace vorlin
