#include "app/app_session.h"

#include <QApplication>
#include <QTimer>

#include "app/automation.h"
#include "app/device_probe.h"
#include "app/main_window.h"
#include "hid/hid_backend.h"
#include "hid/hidraw_backend.h"
#include "hid/virtual_bus.h"
#include "platform/log.h"
#include "sim/device_emulator.h"
#include "sim/socket_seam.h"

namespace vorlin {

namespace {
// Time for the last layout and paint requests after the first pass before the picture is taken.
constexpr int kScreenshotSettleMs = 150;
}  // namespace

AppSession::AppSession(AppSessionOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {}

AppSession::~AppSession() {
  automation_.reset();
  window_.reset();  // stops the scanner before its backends go
  seam_.reset();
  if (hidraw_) HidBackends::Remove(hidraw_);
  if (bus_) HidBackends::Remove(bus_);
  emulator_.reset();
}

bool AppSession::Start(QString* error) {
  if (options_.useHidraw && !options_.demo) {
    hidraw_ = std::make_shared<HidrawBackend>();
    HidBackends::Add(hidraw_);
    if (CountSupportedInterfaces() == 0) {
      qCInfo(lcVorlin) << "no supported device is plugged in: using the emulated devices";
      HidBackends::Remove(hidraw_);
      hidraw_.reset();
    }
  }
  if (!hidraw_) {
    emulator_ = std::make_unique<DeviceEmulator>();
    bus_ = emulator_->Bus();
    // Demo mode runs for as long as the user likes: keep no report trace (lighting frames alone
    // would fill it), tests keep theirs.
    bus_->SetTraceLimit(0);
    emulated_ = true;
  }
  if (!options_.simSocket.isEmpty()) {
    if (!bus_) bus_ = std::make_shared<VirtualHidBus>();
    seam_ = std::make_unique<SocketSeam>(bus_);
    std::string reason;
    if (!seam_->Listen(options_.simSocket.toStdString(), &reason)) {
      if (error) {
        *error = QStringLiteral("cannot listen on %1: %2")
                     .arg(options_.simSocket, QString::fromStdString(reason));
      }
      return false;
    }
  }
  if (bus_) HidBackends::Add(bus_);

  MainWindowOptions window_options;
  window_options.emulated = emulated_;
  window_options.forcedDpi = options_.forcedDpi;
  window_options.useSessionBus = options_.useSessionBus;
  window_options.followSleep = options_.followSleep;
  window_options.scanner = DiscoveryScannerOptions::ForThisSystem();
  window_options.scanner.rescanInterval = options_.rescanInterval;
  if (!hidraw_) window_options.scanner.hotplug.reset();
  window_ = std::make_unique<CMainWnd>(std::move(window_options));
  connect(window_.get(), &CMainWnd::Closed, this, [this] {
    if (finished_) return;
    finished_ = true;
    // Leave the loop once the close has been handled completely.
    QTimer::singleShot(0, this, [this] { emit Finished(exit_code_); });
  });
  if (!options_.screenshotPath.isEmpty()) {
    connect(window_.get(), &CMainWnd::FirstPassCompleted, this,
            [this] { QTimer::singleShot(kScreenshotSettleMs, this, &AppSession::TakeScreenshot); });
  }
  if (!window_->Create()) {
    if (error) *error = QStringLiteral("the main window cannot be built (is the skin installed?)");
    return false;
  }

  if (!options_.automationPath.isEmpty()) {
    AutomationHost host;
    CMainWnd* window = window_.get();
    host.window = [window] { return window->Window(); };
    host.screenshot = [window](const QString& path, QString* reason) {
      return window->SaveScreenshot(path, reason);
    };
    host.quit = [window] { window->Quit(); };
    automation_ = std::make_unique<AutomationServer>(std::move(host));
    QString reason;
    if (!automation_->Listen(options_.automationPath, &reason)) {
      if (error) *error = QStringLiteral("automation: %1").arg(reason);
      return false;
    }
  }
  return true;
}

void AppSession::TakeScreenshot() {
  QApplication::sendPostedEvents();
  QApplication::processEvents();
  QString reason;
  if (!window_->SaveScreenshot(options_.screenshotPath, &reason)) {
    qCWarning(lcVorlin) << "cannot write" << options_.screenshotPath << reason;
    exit_code_ = 1;
  }
  window_->Quit();
}

}  // namespace vorlin
