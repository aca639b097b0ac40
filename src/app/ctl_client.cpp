#include "app/ctl_client.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <iostream>

#include "app/ctl_own_devices.h"
#include "platform/log.h"
#include "shell/device_bus_api.h"
#include "shell/shell_bus.h"

namespace vorlin {

namespace {

// Longer than the program's own wait for a device (BusDeviceService::kAnswerTimeoutMs).
constexpr int kCallTimeoutMs = 30000;

// The exit code of an error answer; the bus's "no owner" names mean the program ended between the
// check and the call.
int ExitOfError(const QString& name) {
  if (name == QLatin1String(kBusErrorNoDevice)) return kCtlNoDevice;
  if (name == QLatin1String(kBusErrorInvalidArgument)) return kCtlUsage;
  if (name == QLatin1String(kBusErrorWriteFailed)) return kCtlWriteFailed;
  if (name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
      name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
    return kCtlNotRunning;
  }
  return kCtlFailed;
}

QString JsonText(const QJsonObject& object) {
  return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

// One run of a command against the program.
class CtlSession {
 public:
  CtlSession(const CtlCommand& command, const CtlCall& call) : command_(command), call_(call) {}

  CtlResult Run() {
    switch (command_.verb) {
      case CtlCommand::Verb::kList:
        List();
        break;
      case CtlCommand::Verb::kProfile:
        Profile();
        break;
      case CtlCommand::Verb::kDpi:
        Dpi();
        break;
      case CtlCommand::Verb::kLight:
        Light();
        break;
      case CtlCommand::Verb::kExport:
        Export();
        break;
      case CtlCommand::Verb::kImport:
        Import();
        break;
      case CtlCommand::Verb::kHelp:
        break;
    }
    return result_;
  }

 private:
  // The reply to `method`, or nullopt with the failure noted.
  std::optional<QVariantList> Call(const QString& method, const QVariantList& args) {
    const BusAnswer answer = call_(method, args);
    if (answer.ok()) return answer.values;
    Fail(ExitOfError(answer.error), answer.message);
    return std::nullopt;
  }

  void Fail(int code, const QString& message) {
    if (result_.exitCode == kCtlDone) result_.exitCode = code;
    result_.err += QStringLiteral("vorlin ctl: %1\n").arg(message);
  }

  void Print(const QString& text) { result_.out += text; }

  std::optional<QList<QVariantMap>> Devices() {
    const std::optional<QVariantList> reply = Call(QStringLiteral("ListDevices"), {});
    if (!reply) return std::nullopt;
    if (reply->isEmpty()) return QList<QVariantMap>{};
    return qdbus_cast<QList<QVariantMap>>(reply->first());
  }

  // The devices the command drives: the one named, else the connected ones it applies to (one
  // unless `all`); empty with the failure noted when there is none or no clear choice.
  QStringList Targets(bool all, const QString& kind = QString()) {
    if (!command_.device.isEmpty()) return {command_.device};
    const std::optional<QList<QVariantMap>> devices = Devices();
    if (!devices) return {};
    QStringList ids;
    for (const QVariantMap& device : *devices) {
      if (kind.isEmpty() || device.value(QStringLiteral("kind")).toString() == kind)
        ids << device.value(QStringLiteral("id")).toString();
    }
    if (ids.isEmpty()) {
      Fail(kCtlNoDevice, kind.isEmpty() ? QStringLiteral("No device is connected.")
                                        : QStringLiteral("No %1 is connected.").arg(kind));
      return {};
    }
    if (ids.size() > 1 && !all) {
      Fail(kCtlUsage, QStringLiteral("Several devices are connected (%1): choose one with "
                                     "--device ID.")
                          .arg(ids.join(QStringLiteral(", "))));
      return {};
    }
    return ids;
  }

  QString OneTarget(const QString& kind = QString()) {
    const QStringList ids = Targets(false, kind);
    return ids.isEmpty() ? QString() : ids.first();
  }

  void List() {
    const std::optional<QList<QVariantMap>> devices = Devices();
    if (!devices) return;
    if (command_.json) {
      QJsonArray array;
      for (const QVariantMap& device : *devices) array << QJsonObject::fromVariantMap(device);
      Print(JsonText({{QStringLiteral("devices"), array}}));
      return;
    }
    if (devices->isEmpty()) {
      Print(QStringLiteral("No device is connected.\n"));
      return;
    }
    const QString row = QStringLiteral("%1 %2 %3 %4 %5 %6\n");
    Print(row.arg(QStringLiteral("ID"), -9)
              .arg(QStringLiteral("KIND"), -9)
              .arg(QStringLiteral("PRODUCT"), -10)
              .arg(QStringLiteral("CONNECTION"), -10)
              .arg(QStringLiteral("BATTERY"), -7)
              .arg(QStringLiteral("PROFILE")));
    for (const QVariantMap& d : *devices) {
      const QString battery =
          d.contains(QStringLiteral("battery"))
              ? QStringLiteral("%1%").arg(d.value(QStringLiteral("battery")).toInt())
              : QStringLiteral("-");
      const QString profile =
          QStringLiteral("%1 %2").arg(d.value(QStringLiteral("profile_index")).toString(),
                                      d.value(QStringLiteral("profile")).toString());
      Print(row.arg(d.value(QStringLiteral("id")).toString(), -9)
                .arg(d.value(QStringLiteral("kind")).toString(), -9)
                .arg(d.value(QStringLiteral("product")).toString(), -10)
                .arg(d.value(QStringLiteral("connection")).toString(), -10)
                .arg(battery, -7)
                .arg(profile));
    }
  }

  void Profile() {
    const QString device = OneTarget();
    if (device.isEmpty()) return;
    if (!command_.profile.isEmpty()) {
      const auto reply = Call(QStringLiteral("ApplyProfile"), {device, command_.profile});
      if (!reply || reply->isEmpty()) return;
      const int index = reply->first().toInt();
      Print(command_.json ? JsonText({{QStringLiteral("device"), device},
                                      {QStringLiteral("profile_index"), index}})
                          : QStringLiteral("%1: profile %2 is current\n").arg(device).arg(index));
      return;
    }
    const auto reply = Call(QStringLiteral("GetProfiles"), {device});
    if (!reply || reply->size() < 2) return;
    const QStringList names = reply->at(0).toStringList();
    const int current = reply->at(1).toInt();
    if (command_.json) {
      Print(JsonText({{QStringLiteral("device"), device},
                      {QStringLiteral("current"), current},
                      {QStringLiteral("profiles"), QJsonArray::fromStringList(names)}}));
      return;
    }
    for (int i = 0; i < names.size(); ++i) {
      Print(QStringLiteral("%1 %2 %3\n")
                .arg(i + 1 == current ? QLatin1Char('*') : QLatin1Char(' '))
                .arg(i + 1, 2)
                .arg(names[i]));
    }
  }

  void Dpi() {
    const QString device =
        OneTarget(command_.device.isEmpty() ? QStringLiteral("mouse") : QString());
    if (device.isEmpty()) return;
    if (command_.stage > 0 && command_.dpi > 0) {
      const auto reply =
          Call(QStringLiteral("SetDpiValue"), {device, command_.stage, command_.dpi});
      if (!reply || reply->isEmpty()) return;
      const int dpi = reply->first().toInt();
      Print(command_.json ? JsonText({{QStringLiteral("device"), device},
                                      {QStringLiteral("stage"), command_.stage},
                                      {QStringLiteral("dpi"), dpi}})
                          : QStringLiteral("%1: DPI stage %2 is %3 DPI\n")
                                .arg(device)
                                .arg(command_.stage)
                                .arg(dpi));
      return;
    }
    if (command_.stage > 0) {
      if (!Call(QStringLiteral("SetDpiStage"), {device, command_.stage})) return;
      Print(command_.json
                ? JsonText({{QStringLiteral("device"), device},
                            {QStringLiteral("current"), command_.stage}})
                : QStringLiteral("%1: DPI stage %2 is current\n").arg(device).arg(command_.stage));
      return;
    }
    const auto reply = Call(QStringLiteral("GetDpi"), {device});
    if (!reply || reply->size() < 2) return;
    const int current = reply->at(0).toInt();
    const QList<int> stages = qdbus_cast<QList<int>>(reply->at(1));
    if (command_.json) {
      QJsonArray values;
      for (int dpi : stages) values << dpi;
      Print(JsonText({{QStringLiteral("device"), device},
                      {QStringLiteral("current"), current},
                      {QStringLiteral("stages"), values}}));
      return;
    }
    for (int i = 0; i < stages.size(); ++i) {
      Print(QStringLiteral("%1 %2 %3\n")
                .arg(i + 1 == current ? QLatin1Char('*') : QLatin1Char(' '))
                .arg(i + 1)
                .arg(stages[i], 5));
    }
  }

  void Light() {
    const QStringList devices = Targets(true);
    QJsonArray done;
    for (const QString& device : devices) {
      const qsizetype errors_before = result_.err.size();
      const bool ok = Call(QStringLiteral("SetLighting"), {device, command_.effect, command_.colour,
                                                           command_.brightness, command_.speed})
                          .has_value();
      QJsonObject entry{{QStringLiteral("device"), device}, {QStringLiteral("ok"), ok}};
      if (!ok) entry.insert(QStringLiteral("error"), result_.err.mid(errors_before).trimmed());
      done << entry;
      if (ok && !command_.json) Print(QStringLiteral("%1: lighting set\n").arg(device));
    }
    if (command_.json && !devices.isEmpty()) Print(JsonText({{QStringLiteral("devices"), done}}));
  }

  void Export() {
    const QString device = OneTarget();
    if (device.isEmpty()) return;
    if (!Call(QStringLiteral("ExportProfile"), {device, command_.file})) return;
    Print(command_.json ? JsonText({{QStringLiteral("device"), device},
                                    {QStringLiteral("file"), command_.file}})
                        : QStringLiteral("%1: profile written to %2\n").arg(device, command_.file));
  }

  void Import() {
    const QString device = OneTarget();
    if (device.isEmpty()) return;
    const auto reply = Call(QStringLiteral("ImportProfile"), {device, command_.file});
    if (!reply || reply->size() < 2) return;
    const int index = reply->at(0).toInt();
    const QString name = reply->at(1).toString();
    Print(command_.json ? JsonText({{QStringLiteral("device"), device},
                                    {QStringLiteral("profile_index"), index},
                                    {QStringLiteral("profile"), name}})
                        : QStringLiteral("%1: profile %2 \"%3\" imported and current\n")
                              .arg(device)
                              .arg(index)
                              .arg(name));
  }

  const CtlCommand& command_;
  const CtlCall& call_;
  CtlResult result_;
};

}  // namespace

bool ProgramOnBus(QDBusConnection connection) {
  return connection.isConnected() && connection.interface() &&
         connection.interface()->isServiceRegistered(QLatin1String(ShellBus::kService));
}

CtlCall BusCtlCall(QDBusConnection connection) {
  qDBusRegisterMetaType<QList<QVariantMap>>();
  return [connection](const QString& method, const QVariantList& args) {
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(ShellBus::kService),
                                                       QLatin1String(ShellBus::kObjectPath),
                                                       QLatin1String(ShellBus::kInterface), method);
    call.setArguments(args);
    QDBusConnection bus = connection;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) return BusAnswer::Done(reply.arguments());
    return BusAnswer{reply.errorName(), reply.errorMessage(), {}};
  };
}

CtlResult RunCtlCommand(const CtlCommand& command, const CtlCall& call) {
  CtlResult result;
  if (!command.error.isEmpty()) {
    result.exitCode = kCtlUsage;
    result.err = CtlUsageErrorText(command.error);
    return result;
  }
  if (command.verb == CtlCommand::Verb::kHelp) {
    result.out = CtlHelpText();
    return result;
  }
  return CtlSession(command, call).Run();
}

int RunCtl(int argc, char** argv) {
  QStringList words;
  for (int i = 2; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
  const CtlCommand command = ParseCtlCommand(words, QDir::currentPath());
  CtlResult result;
  if (!command.error.isEmpty() || command.verb == CtlCommand::Verb::kHelp) {
    result = RunCtlCommand(command, CtlCall());
  } else {
    SetUpLogging(false);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorlin"));
    const QDBusConnection bus = QDBusConnection::sessionBus();
    // The running program owns the devices; without it this process opens them itself.
    result = ProgramOnBus(bus) ? RunCtlCommand(command, BusCtlCall(bus))
                               : RunCtlOnOwnDevices(command, OwnDeviceOptions());
  }
  std::cout << result.out.toStdString() << std::flush;
  std::cerr << result.err.toStdString() << std::flush;
  return result.exitCode;
}

}  // namespace vorlin
