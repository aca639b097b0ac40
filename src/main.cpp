// vorlin: configuration utility for the mouse, keyboard, mouse pad and headset of the product
// family. Without options it opens the main window; --probe keeps the console device probe.

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "app/app_session.h"
#include "app/device_probe.h"
#include "app/device_sources.h"
#include "app/main_window.h"
#include "profiles/stale_temporaries.h"
#include "app/update_command.h"
#include "shell/app_identity.h"
#include "shell/app_paths.h"
#include "shell/language_fonts.h"
#include "shell/private_fonts.h"
#include "shell/single_instance.h"
#include "ui/skin_manager.h"

namespace {

using namespace vorlin;

struct CommonOptions {
  QCommandLineOption demo{"demo", "Use the emulated devices even when real ones are present."};
  QCommandLineOption simSocket{
      "sim-socket",
      "Accept emulated devices from other processes on this socket (also VORLIN_SIM_SOCKET).",
      "path"};
  QCommandLineOption probe{"probe", "List the supported devices on the console and exit."};
  QCommandLineOption checkUpdates{
      "check-updates",
      "Ask the update server about the program and every connected device, print one line per "
      "row and exit (0 up to date, 1 an update exists, 2 the server could not be asked)."};
  QCommandLineOption wait{"wait",
                          "With --probe: keep serving the emulator socket until interrupted."};
  QCommandLineOption screenshot{"screenshot", "Write a PNG of the main window and exit.", "path"};
  QCommandLineOption scale{"scale", "The window's scale in DPI (96 = 100 %, 144 = 150 %).", "dpi"};
  QCommandLineOption automation{
      "automation", "Serve the automation interface on this socket (also VORLIN_AUTOMATION).",
      "path"};

  void AddTo(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        "Configuration utility for the mouse, keyboard, mouse pad and headset.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({demo, simSocket, probe, checkUpdates, wait, screenshot, scale, automation});
  }
};

QString SimSocketPath(const QCommandLineParser& parser, const CommonOptions& options) {
  QString path = parser.value(options.simSocket);
  return path.isEmpty() ? qEnvironmentVariable("VORLIN_SIM_SOCKET") : path;
}

void BlockTerminationSignals(sigset_t* set) {
  sigemptyset(set);
  sigaddset(set, SIGINT);
  sigaddset(set, SIGTERM);
  pthread_sigmask(SIG_BLOCK, set, nullptr);
}

// The console modes, which need no display: the probe lists the supported interfaces and reads
// each device's information; the update check asks the update server about the devices found.
int RunConsole(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("vorlin");
  QCoreApplication::setApplicationVersion(VORLIN_VERSION);
  QCommandLineParser parser;
  CommonOptions options;
  options.AddTo(parser);
  parser.process(app);

  // Signals are blocked before any thread starts so that only sigwait() sees them.
  sigset_t blocked;
  if (parser.isSet(options.wait)) BlockTerminationSignals(&blocked);

  DeviceSourceOptions source_options;
  source_options.demo = parser.isSet(options.demo);
  source_options.simSocket = SimSocketPath(parser, options).toStdString();
  DeviceSources sources;
  std::string error;
  const bool check_updates = parser.isSet(options.checkUpdates);
  if (!sources.Start(source_options, &error)) {
    std::cerr << error << "\n";
    return check_updates ? kCheckServerNotAsked : 1;
  }
  if (check_updates) return RunUpdateCheckCommand(std::cout);
  if (sources.Emulated()) std::cout << "Emulated devices:\n";
  ProbeDevices(std::cout);
  if (!source_options.simSocket.empty())
    std::cout << "Emulator socket: " << source_options.simSocket << "\n";
  if (parser.isSet(options.wait)) {
    int signal = 0;
    sigwait(&blocked, &signal);
    if (!source_options.simSocket.empty()) {
      std::cout << "Interfaces attached through the socket:\n";
      ProbeDevices(std::cout);
    }
  }
  return 0;
}

bool WantsConsoleMode(int argc, char** argv, const char* name) {
  const std::string long_form = std::string("--") + name;
  const std::string short_form = std::string("-") + name;
  for (int i = 1; i < argc; ++i) {
    if (long_form == argv[i] || short_form == argv[i]) return true;
  }
  return false;
}

int RunWindow(int argc, char** argv) {
  const auto started = std::filesystem::file_time_type::clock::now();
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName("vorlin");
  QCoreApplication::setApplicationVersion(VORLIN_VERSION);
  // The window hides in the tray; only the program's own exit ends it.
  QApplication::setQuitOnLastWindowClosed(false);
  QCommandLineParser parser;
  CommonOptions options;
  options.AddTo(parser);
  parser.process(app);

  AppSessionOptions session_options;
  session_options.demo = parser.isSet(options.demo);
  session_options.simSocket = SimSocketPath(parser, options);
  session_options.screenshotPath = parser.value(options.screenshot);
  session_options.automationPath = parser.value(options.automation);
  if (session_options.automationPath.isEmpty()) {
    session_options.automationPath = qEnvironmentVariable("VORLIN_AUTOMATION");
  }
  if (parser.isSet(options.scale)) {
    bool ok = false;
    session_options.forcedDpi = parser.value(options.scale).toInt(&ok);
    if (!ok || session_options.forcedDpi <= 0) {
      std::cerr << "--scale takes a DPI value such as 96 or 144\n";
      return 2;
    }
  }

  // A screenshot run is a tool of its own and may run beside the user's program.
  std::unique_ptr<SingleInstance> instance;
  if (session_options.screenshotPath.isEmpty()) {
    instance = std::make_unique<SingleInstance>();
    if (instance->Acquire() == SingleInstance::Role::kAlreadyRunning) return 0;
  }

  // Saves that a kill interrupted left temporary files; only files older than this start, and
  // unlocked (no running instance writes them), are removed.
  RemoveStaleTemporaries(UserDataFolder().toStdString(), started);

  PrivateFonts fonts;
  fonts.LoadFolder(InstallPath(QStringLiteral("Font")));
  RegisterFontSubstitutes();
  SkinManager::Instance().SetSkinFolder(InstallPath(QStringLiteral("skin")));

  AppSession session(session_options);
  QString error;
  if (!session.Start(&error)) {
    std::cerr << "vorlin: " << error.toStdString() << "\n";
    return 1;
  }
  if (instance) {
    QObject::connect(instance.get(), &SingleInstance::ActivationRequested, &session,
                     [&session] { session.MainWindow()->OnInstanceMessage(); });
  }
  QObject::connect(&session, &AppSession::Finished, &app, &QCoreApplication::exit);
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  if (WantsConsoleMode(argc, argv, "probe") || WantsConsoleMode(argc, argv, "check-updates")) {
    return RunConsole(argc, argv);
  }
  return RunWindow(argc, argv);
}
