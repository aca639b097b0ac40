#include "app/app_session.h"

#include <QApplication>
#include <QTimer>

#include "app/access_notice.h"
#include "app/automation.h"
#include "app/main_window.h"
#include "app/real_device_watch.h"
#include "catalogue/extra_product_ids.h"
#include "platform/log.h"

namespace vorlin {

namespace {
// Time for the last layout and paint requests after the first pass before the picture is taken.
constexpr int kScreenshotSettleMs = 150;
}  // namespace

AppSession::AppSession(AppSessionOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {}

AppSession::~AppSession() {
  automation_.reset();
  window_.reset();  // stops the scanner before its backends go (sources_ is destroyed last)
}

bool AppSession::Start(QString* error) {
  DeviceSourceOptions sources;
  sources.demo = options_.demo;
  sources.useHidraw = options_.useHidraw;
  sources.simSocket = options_.simSocket.toStdString();
  sources.emulatedMemoryFolder = options_.emulatedMemoryFolder.toStdString();
  sources.mode = options_.sourceMode;
  std::string reason;
  if (!sources_.Start(sources, &reason)) {
    if (error) *error = QString::fromStdString(reason);
    return false;
  }

  MainWindowOptions window_options;
  window_options.emulated = sources_.Emulated();
  if (sources_.UsesHidraw()) window_options.accessProblems = AccessNotice::SystemProblemFinder();
  window_options.catalogue = ProgramCatalogue();
  window_options.forcedDpi = options_.forcedDpi;
  window_options.useSessionBus = options_.useSessionBus;
  window_options.followSleep = options_.followSleep;
  window_options.scanner = DiscoveryScannerOptions::ForThisSystem();
  window_options.scanner.rescanInterval = options_.rescanInterval;
  if (!sources_.UsesHidraw()) window_options.scanner.hotplug.reset();
  wheel_guard_ = std::make_unique<WheelGuard>(QCoreApplication::instance());
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

  if (sources_.Mode() == DeviceSourceMode::kStandIn &&
      (options_.useHidraw || options_.realDeviceWatch)) {
    WatchForRealDevices();
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

void AppSession::WatchForRealDevices() {
  real_device_watch_ =
      options_.realDeviceWatch ? options_.realDeviceWatch() : RealDeviceWatch::ForThisSystem();
  connect(real_device_watch_.get(), &RealDeviceWatch::arrived, this, [this] {
    // Everything is saved on the way out; the next run reads the real devices' documents.
    exit_code_ = kRestartOnRealDevices;
    window_->Quit();
  });
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
