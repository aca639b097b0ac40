// vorlin: configuration utility for the mouse, keyboard, mouse pad and headset of the product
// family. This entry point sets up where HID interfaces come from (hidraw nodes, or the emulated
// devices when none is plugged in or --demo is given, plus the emulator socket when asked for).

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <iostream>
#include <memory>

#include "app/device_probe.h"
#include "hid/hid_backend.h"
#include "hid/hidraw_backend.h"
#include "hid/virtual_bus.h"
#include "sim/device_emulator.h"
#include "sim/socket_seam.h"

namespace {

void WaitForTerminationSignal() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  int signal = 0;
  sigwait(&set, &signal);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vorlin;
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("vorlin");
  QCoreApplication::setApplicationVersion(VORLIN_VERSION);

  QCommandLineParser parser;
  parser.setApplicationDescription("Configuration utility for the mouse, keyboard, mouse pad and headset.");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption demo("demo", "Use the emulated devices even when real ones are present.");
  const QCommandLineOption simSocket(
      "sim-socket", "Accept emulated devices from other processes on this socket.", "path");
  const QCommandLineOption wait("wait", "Keep running (serving the emulator socket) until interrupted.");
  parser.addOptions({demo, simSocket, wait});
  parser.process(app);

  // Signals are blocked before any thread starts so that only sigwait() sees them.
  if (parser.isSet(wait)) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
  }

  std::unique_ptr<DeviceEmulator> emulator;
  auto hidraw = std::make_shared<HidrawBackend>();
  if (!parser.isSet(demo)) {
    HidBackends::Add(hidraw);
    if (ProbeDevices(std::cout) == 0) {
      std::cout << "No supported device is plugged in: using the emulated devices.\n";
      HidBackends::Remove(hidraw);
    }
  }
  if (HidBackends::All().empty()) {
    emulator = std::make_unique<DeviceEmulator>();
    HidBackends::Add(emulator->Bus());
    std::cout << "Emulated devices:\n";
    ProbeDevices(std::cout);
  }

  QString socketPath = parser.value(simSocket);
  if (socketPath.isEmpty()) socketPath = qEnvironmentVariable("VORLIN_SIM_SOCKET");
  std::unique_ptr<SocketSeam> seam;
  if (!socketPath.isEmpty()) {
    std::shared_ptr<VirtualHidBus> bus = emulator ? emulator->Bus() : std::make_shared<VirtualHidBus>();
    HidBackends::Add(bus);
    seam = std::make_unique<SocketSeam>(bus);
    std::string error;
    if (!seam->Listen(socketPath.toStdString(), &error)) {
      std::cerr << "cannot listen on " << socketPath.toStdString() << ": " << error << "\n";
      return 1;
    }
    std::cout << "Emulator socket: " << socketPath.toStdString() << "\n";
  }

  if (parser.isSet(wait)) {
    WaitForTerminationSignal();
    if (seam) {
      std::cout << "Interfaces attached through the socket:\n";
      ProbeDevices(std::cout);
    }
  }
  seam.reset();
  HidBackends::Clear();
  return 0;
}
