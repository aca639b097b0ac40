#pragma once

// One run of the windowed program: where the HID interfaces come from (hidraw nodes, the emulated
// devices of demo mode, the emulator socket), the main window, and the optional automation
// interface and start-up screenshot. main() builds one after the application object; the tests
// build their own.

#include <functional>
#include <memory>
#include <optional>

#include <QObject>
#include <QString>

#include "app/device_sources.h"
#include "hid/discovery_scanner.h"
#include "ui/wheel_guard.h"

namespace vorlin {

class AutomationServer;
class RealDeviceWatch;
class CMainWnd;

struct AppSessionOptions {
  // Use the emulated devices even when real ones are present.
  bool demo = false;
  // Look at the hidraw nodes (off in tests); with none of the supported devices there at start-up,
  // the emulated devices are used.
  bool useHidraw = true;
  // Accept emulated devices from other processes on this socket.
  QString simSocket;
  // Chosen by main before any document is read (device_sources.h); chosen at Start when empty.
  std::optional<DeviceSourceMode> sourceMode;
  // When not empty, the built-in emulated devices keep their memory here between runs.
  QString emulatedMemoryFolder;
  // 0: the monitor's scale; else a fixed one (96, 144, ...).
  int forcedDpi = 0;
  // Write a picture of the window here once it is laid out, then end.
  QString screenshotPath;
  // Serve the automation interface here.
  QString automationPath;
  bool useSessionBus = true;
  bool followSleep = true;
  // While the emulated devices stand in: what tells that a real device has arrived (tests give
  // their own; empty: this machine's hidraw nodes, when useHidraw).
  std::function<std::unique_ptr<RealDeviceWatch>()> realDeviceWatch;
  // The scanner's rescan interval when a backend gives no change notice (tests shorten it).
  std::chrono::milliseconds rescanInterval{1000};
};

// The exit code with which a run ends when the emulated devices stood in and a real device has
// been plugged in: main starts the program again on the real devices.
constexpr int kRestartOnRealDevices = 75;

class AppSession : public QObject {
  Q_OBJECT

 public:
  explicit AppSession(AppSessionOptions options, QObject* parent = nullptr);
  ~AppSession() override;

  // Sets up the backends and the window. False, with the reason, when the program cannot run
  // (the emulator socket or the automation socket cannot listen, the window cannot be built).
  bool Start(QString* error);

  CMainWnd* MainWindow() const { return window_.get(); }
  DeviceEmulator* Emulator() const { return sources_.Emulator(); }
  bool Emulated() const { return sources_.Emulated(); }
  const std::shared_ptr<VirtualHidBus>& Bus() const { return sources_.Bus(); }

 signals:
  // The run is over (window closed, screenshot written or failed): leave the event loop with
  // this exit code.
  void Finished(int exitCode);

 private:
  void TakeScreenshot();
  void WatchForRealDevices();

  AppSessionOptions options_;
  DeviceSources sources_;  // declared first: the window and its scanner go before the backends
  std::unique_ptr<CMainWnd> window_;
  std::unique_ptr<AutomationServer> automation_;
  std::unique_ptr<WheelGuard> wheel_guard_;
  std::unique_ptr<RealDeviceWatch> real_device_watch_;
  bool finished_ = false;
  int exit_code_ = 0;
};

}  // namespace vorlin
