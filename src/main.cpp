// vorlin: configuration utility for the mouse, keyboard, mouse pad and headset of the product
// family. Without options it opens the main window; --probe keeps the console device probe.

#include <QApplication>
#include <QCoreApplication>

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>
#include <string_view>

#include "app/access_advice.h"
#include "app/app_session.h"
#include "app/command_line.h"
#include "app/ctl_client.h"
#include "app/device_probe.h"
#include "app/device_sources.h"
#include "app/main_window.h"
#include "app/update_command.h"
#include "platform/log.h"
#include "profiles/stale_temporaries.h"
#include "shell/app_identity.h"
#include "shell/app_paths.h"
#include "shell/language_fonts.h"
#include "shell/private_fonts.h"
#include "shell/single_instance.h"
#include "ui/skin_manager.h"

namespace {

using namespace vorlin;

QString SimSocketPath(const CommandLine& command_line) {
  return command_line.simSocket.isEmpty() ? qEnvironmentVariable("VORLIN_SIM_SOCKET")
                                          : command_line.simSocket;
}

void BlockTerminationSignals(sigset_t* set) {
  sigemptyset(set);
  sigaddset(set, SIGINT);
  sigaddset(set, SIGTERM);
  pthread_sigmask(SIG_BLOCK, set, nullptr);
}

// The console modes, which need no display: the probe lists the supported interfaces and reads
// each device's information; the update check asks the update server about the devices found.
int RunConsole(int argc, char** argv, const CommandLine& command_line,
               const DeviceSourceOptions& source_options) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("vorlin");
  QCoreApplication::setApplicationVersion(VORLIN_VERSION);

  // Signals are blocked before any thread starts so that only sigwait() sees them.
  sigset_t blocked;
  if (command_line.wait) BlockTerminationSignals(&blocked);

  DeviceSources sources;
  std::string error;
  const bool check_updates = command_line.checkUpdates;
  if (!sources.Start(source_options, &error)) {
    std::cerr << error << "\n";
    return check_updates ? kCheckServerNotAsked : 1;
  }
  if (check_updates) return RunUpdateCheckCommand(std::cout);
  if (sources.Emulated()) std::cout << "Emulated devices:\n";
  ProbeDevices(std::cout);
  if (!command_line.demo) {
    const QString advice = ConsoleAccessAdvice();
    if (!advice.isEmpty()) std::cout << advice.toStdString() << "\n";
  }
  if (!source_options.simSocket.empty())
    std::cout << "Emulator socket: " << source_options.simSocket << "\n";
  if (command_line.wait) {
    int signal = 0;
    sigwait(&blocked, &signal);
    if (!source_options.simSocket.empty()) {
      std::cout << "Interfaces attached through the socket:\n";
      ProbeDevices(std::cout);
    }
  }
  return 0;
}

int RunWindow(int argc, char** argv, const CommandLine& command_line,
              const DeviceSourceOptions& source_options) {
  const auto started = std::filesystem::file_time_type::clock::now();
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName("vorlin");
  QCoreApplication::setApplicationVersion(VORLIN_VERSION);
  // The desktop entry's name (org.vorlin.Vorlin.desktop): Wayland compositors match the window to
  // its entry and icon by it.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.vorlin.Vorlin"));
  // The window hides in the tray; only the program's own exit ends it.
  QApplication::setQuitOnLastWindowClosed(false);

  AppSessionOptions session_options;
  session_options.demo = source_options.demo;
  session_options.simSocket = QString::fromStdString(source_options.simSocket);
  session_options.emulatedMemoryFolder = QString::fromStdString(source_options.emulatedMemoryFolder);
  session_options.sourceMode = source_options.mode;
  session_options.screenshotPath = command_line.screenshotPath;
  session_options.automationPath = command_line.automationPath;
  if (session_options.automationPath.isEmpty()) {
    session_options.automationPath = qEnvironmentVariable("VORLIN_AUTOMATION");
  }
  session_options.forcedDpi = command_line.forcedDpi;

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

// The emulated devices stood in and a real device has arrived: the same program starts again with
// the same arguments (everything was saved on the way out, the single-instance lock released).
int StartAgain(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  ::execv("/proc/self/exe", argv.data());
  std::cerr << "vorlin: cannot start again on the real devices (" << std::strerror(errno)
            << "); start vorlin once more\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // `vorlin ctl ...` drives the running program for scripts (no display, no window).
  if (argc > 1 && std::string_view(argv[1]) == "ctl") return RunCtl(argc, argv);
  // The command line is read before any application object exists: --help, --version and a
  // wrong option must answer on a terminal without a display.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const CommandLine command_line = ParseCommandLine(arguments, QStringLiteral(VORLIN_VERSION));
  switch (command_line.action) {
    case CommandLine::Action::kHelp:
    case CommandLine::Action::kVersion:
      std::cout << command_line.text.toStdString() << std::flush;
      return 0;
    case CommandLine::Action::kError:
      std::cerr << CommandLineErrorText(command_line.text).toStdString() << std::flush;
      return kCommandLineErrorExit;
    case CommandLine::Action::kRun:
      break;
  }
  SetUpLogging(command_line.verbose);

  // The emulated devices (asked for, or standing in for absent ones) keep everything they write in
  // the demo folder, so that trying the program never touches the user's real profiles.
  DeviceSourceOptions source_options;
  source_options.demo = command_line.demo;
  source_options.simSocket = SimSocketPath(command_line).toStdString();
  source_options.mode = ChooseDeviceSourceMode(source_options);
  if (*source_options.mode != DeviceSourceMode::kReal) {
    UseDemoDataFolder();
    source_options.emulatedMemoryFolder = UserDataFolder().toStdString();
  }
  if (command_line.probe || command_line.checkUpdates)
    return RunConsole(argc, argv, command_line, source_options);

  // Qt takes its own options out of argv: keep the command line as it was for a new start.
  const std::vector<std::string> original_arguments(argv, argv + argc);
  const int code = RunWindow(argc, argv, command_line, source_options);
  return code == kRestartOnRealDevices ? StartAgain(original_arguments) : code;
}
