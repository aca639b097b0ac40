#include "app/ctl_own_devices.h"

#include <optional>
#include <set>

#include <QEventLoop>
#include <QTimer>

#include "app/access_advice.h"
#include "app/bus_device_service.h"
#include "app/device_sources.h"
#include "app/headless_bus_target.h"
#include "catalogue/extra_product_ids.h"
#include "devices/device_client.h"
#include "devices/device_manager.h"
#include "platform/log.h"
#include "shell/app_paths.h"
#include "shell/single_instance.h"

namespace vorlin {

namespace {

// Runs the event loop until `start`'s answer function has been called.
BusAnswer Await(const std::function<void(BusAnswerFunction)>& start) {
  std::optional<BusAnswer> answer;
  QEventLoop loop;
  start([&answer, &loop](const BusAnswer& given) {
    if (answer) return;
    answer = given;
    loop.quit();
  });
  if (!answer) loop.exec();
  return *answer;
}

// Whether every product whose command interface was bound in the first pass has been read, or
// could not be opened.
bool Settled(const DeviceManager& devices, const std::set<size_t>& failed) {
  const auto& origins = devices.Catalogue().RowOrigins();
  for (const size_t slot : devices.Slots().BoundSlots()) {
    const RowOrigin& origin = origins[slot];
    if (origin.role != kRoleCommand || failed.count(origin.product)) continue;
    const DeviceClient* client = devices.Client(origin.product);
    if (client && !client->View().deviceRead) return false;
  }
  return true;
}

// Waits for the first discovery pass and for the devices it found to be read, at most
// `timeout_ms`.
void WaitForDevices(DeviceManager& devices, int timeout_ms) {
  QEventLoop loop;
  bool first_pass = false;
  std::set<size_t> failed;
  const auto check = [&] {
    if (first_pass && Settled(devices, failed)) loop.quit();
  };
  QObject::connect(&devices, &DeviceManager::firstPassDone, &loop, [&] {
    first_pass = true;
    check();
  });
  QObject::connect(&devices, &DeviceManager::openFailed, &loop, [&](size_t product, const QString&) {
    failed.insert(product);
    check();
  });
  QObject::connect(&devices, &DeviceManager::connectionChanged, &loop, check);
  for (size_t index = 0; index < devices.Count(); ++index) {
    if (DeviceClient* client = devices.Client(index))
      QObject::connect(client, &DeviceClient::viewChanged, &loop, check);
  }
  QTimer::singleShot(timeout_ms, &loop, &QEventLoop::quit);
  if (!devices.StartDiscovery()) return;
  loop.exec();
}

CtlResult Refusal(int code, const QString& message) {
  CtlResult result;
  result.exitCode = code;
  result.err = QStringLiteral("vorlin ctl: %1\n").arg(message);
  return result;
}

}  // namespace

CtlCall HandlerCtlCall(DeviceBusHandler& handler) {
  return [&handler](const QString& method, const QVariantList& args) -> BusAnswer {
    const auto text = [&args](int i) { return i < args.size() ? args[i].toString() : QString(); };
    const auto number = [&args](int i) { return i < args.size() ? args[i].toInt() : -1; };
    if (method == QLatin1String("ListDevices"))
      return BusAnswer::Done({QVariant::fromValue(handler.ListDevices())});
    if (method == QLatin1String("GetProfiles")) return handler.Profiles(text(0));
    if (method == QLatin1String("GetDpi")) return handler.Dpi(text(0));
    if (method == QLatin1String("ExportProfile")) return handler.ExportProfile(text(0), text(1));
    if (method == QLatin1String("ApplyProfile"))
      return Await([&](BusAnswerFunction done) { handler.ApplyProfile(text(0), text(1), done); });
    if (method == QLatin1String("SetDpiStage"))
      return Await([&](BusAnswerFunction done) { handler.SetDpiStage(text(0), number(1), done); });
    if (method == QLatin1String("SetDpiValue")) {
      return Await([&](BusAnswerFunction done) {
        handler.SetDpiValue(text(0), number(1), number(2), done);
      });
    }
    if (method == QLatin1String("SetLighting")) {
      return Await([&](BusAnswerFunction done) {
        handler.SetLighting(text(0), number(1), number(2), number(3), number(4), done);
      });
    }
    if (method == QLatin1String("ImportProfile"))
      return Await([&](BusAnswerFunction done) { handler.ImportProfile(text(0), text(1), done); });
    return BusAnswer::Fail("org.freedesktop.DBus.Error.UnknownMethod",
                           QStringLiteral("No member '%1'.").arg(method));
  };
}

CtlResult RunCtlOnOwnDevices(const CtlCommand& command, const OwnDeviceOptions& options) {
  // Held until the devices are closed again: the program does not start on them meanwhile.
  SingleInstance instance;
  if (!instance.TryLock()) {
    return Refusal(kCtlNotRunning,
                   QStringLiteral("vorlin is running but cannot be reached on the session bus, "
                                  "and it holds the devices."));
  }
  // Everything this process's devices do is kept where the window keeps it: the real profiles,
  // or with --demo the emulated devices' demo folder and memory.
  DeviceSourceOptions source_options;
  source_options.demo = command.demo;
  source_options.useHidraw = options.useHidraw;
  source_options.mode = command.demo ? DeviceSourceMode::kDemo : DeviceSourceMode::kReal;
  if (command.demo) {
    UseDemoDataFolder();
    source_options.emulatedMemoryFolder = UserDataFolder().toStdString();
  }
  DeviceSources sources;
  std::string error;
  if (!sources.Start(source_options, &error))
    return Refusal(kCtlFailed, QString::fromStdString(error));

  DeviceManagerOptions manager_options;
  manager_options.folders = {InstallFolder().toStdString(), UserDataFolder().toStdString()};
  DeviceManager devices(ProgramCatalogue(), std::move(manager_options));
  devices.CreateDevices();
  std::vector<std::unique_ptr<BusDeviceTarget>> targets;
  for (size_t index = 0; index < devices.Count(); ++index) {
    DeviceClient* client = devices.Client(index);
    targets.push_back(client ? std::make_unique<HeadlessBusTarget>(
                                   devices.Catalogue().Product(index), devices.Folders(), *client)
                             : nullptr);
  }
  BusDeviceService service(std::move(targets), devices, nullptr);
  WaitForDevices(devices, options.settleTimeoutMs);
  qCInfo(lcVorlin) << "ctl: devices opened without the window";

  CtlResult result = RunCtlCommand(command, HandlerCtlCall(service));
  // Nothing found: the likeliest reason on Linux is a node the user may not open.
  if (!command.demo && service.ListDevices().isEmpty()) {
    const QString advice = ConsoleAccessAdvice();
    if (!advice.isEmpty()) result.err += advice + QLatin1Char('\n');
  }
  devices.Stop();
  return result;
}

}  // namespace vorlin
