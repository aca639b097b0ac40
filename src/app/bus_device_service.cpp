#include "app/bus_device_service.h"

#include <optional>

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include "devices/device_client.h"
#include "devices/device_manager.h"
#include "mouse_settings/dpi_codes.h"
#include "platform/log.h"
#include "shell/shell_bus.h"

namespace vorlin {

namespace {

constexpr int kLightLevelMax = 4;  // the brightness and speed sliders' range is 0..4
constexpr int kColourMax = 0xFFFFFF;

QString KindName(DeviceFamily family) {
  switch (family) {
    case DeviceFamily::kMouse:
      return QStringLiteral("mouse");
    case DeviceFamily::kKeyboard:
      return QStringLiteral("keyboard");
    case DeviceFamily::kMousePad:
      return QStringLiteral("mousepad");
    case DeviceFamily::kHeadset:
      return QStringLiteral("headset");
    case DeviceFamily::kNone:
      break;
  }
  return QStringLiteral("other");
}

QString UsbIdText(const ProductConnection& connection) {
  if (connection.ids.empty()) return {};
  const UsbId& id = connection.ids.front();
  return QStringLiteral("%1:%2")
      .arg(id.vendorId, 4, 16, QLatin1Char('0'))
      .arg(id.productId, 4, 16, QLatin1Char('0'));
}

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string LocalPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

// One call waiting for its device's report. Answered once: by the report, by the time-out, or
// (when the program closes first) by its end.
class PendingAnswer : public QObject {
 public:
  PendingAnswer(BusAnswerFunction done, QObject* parent)
      : QObject(parent), done_(std::move(done)) {}
  ~PendingAnswer() override {
    if (done_) {
      std::exchange(done_, nullptr)(BusAnswer::Fail(
          kBusErrorWriteFailed, QStringLiteral("vorlin closed before the device answered.")));
    }
  }
  void Answer(const BusAnswer& answer) {
    if (!done_) return;
    std::exchange(done_, nullptr)(answer);
    deleteLater();
  }

 private:
  BusAnswerFunction done_;
};

}  // namespace

QString BusDeviceId(const BusDeviceTarget& target) {
  return QString::fromStdString(target.Product().dataName);
}

int BusBatteryLevel(const BusDeviceTarget& target) {
  const auto& status = target.Client().View().status;
  if (!target.Product().statusPanel || !status) return -1;
  return std::min<int>((*status)[0], 100);
}

BusDeviceService::BusDeviceService(std::vector<std::unique_ptr<BusDeviceTarget>> targets,
                                   DeviceManager& devices, ShellBus* bus)
    : targets_(std::move(targets)), bus_(bus) {
  if (bus_) bus_->SetDeviceHandler(this);
  seen_.resize(targets_.size());
  for (size_t index = 0; index < seen_.size(); ++index) {
    BusDeviceTarget* target = TargetOf(index);
    if (!target) continue;
    connect(&target->Client(), &DeviceClient::viewChanged, this,
            [this, index] { Update(index, true); });
    Update(index, false);
  }
  // A window shows or hides a device's option on these; it handled them first.
  connect(&devices, &DeviceManager::connectionChanged, this,
          [this](size_t index, ConnectionKind) { Update(index, true); });
  connect(&devices, &DeviceManager::optionRequested, this,
          [this](size_t index, bool) { Update(index, true); });
}

BusDeviceService::~BusDeviceService() {
  if (bus_) bus_->SetDeviceHandler(nullptr);
}

BusDeviceTarget* BusDeviceService::TargetOf(size_t index) const {
  return index < targets_.size() ? targets_[index].get() : nullptr;
}

// ---- Signals ----

BusDeviceService::Seen BusDeviceService::Observe(size_t index) const {
  Seen seen;
  BusDeviceTarget* target = TargetOf(index);
  if (!target || !target->Present()) return seen;
  seen.present = true;
  seen.profileId = target->Client().View().profileId;
  seen.battery = BusBatteryLevel(*target);
  return seen;
}

void BusDeviceService::Update(size_t index, bool notify) {
  if (index >= seen_.size()) return;
  const Seen now = Observe(index);
  const Seen before = std::exchange(seen_[index], now);
  BusDeviceTarget* target = TargetOf(index);
  if (!notify || !target || !bus_) return;
  const QString id = BusDeviceId(*target);
  if (now.present != before.present) {
    if (now.present) {
      bus_->NotifyDeviceAdded(id);
    } else {
      bus_->NotifyDeviceRemoved(id);
    }
  }
  if (!now.present) return;
  if (before.present && now.profileId != before.profileId) {
    const ProfileList& list = target->Profiles();
    const int selected = list.SelectedIndex();
    const std::vector<std::string> names = list.Names();
    const QString name = selected >= 0 && selected < static_cast<int>(names.size())
                             ? FromUtf8(names[static_cast<size_t>(selected)])
                             : QString();
    bus_->NotifyProfileChanged(id, selected + 1, name);
  }
  if (now.battery >= 0 && now.battery != before.battery)
    bus_->NotifyBatteryChanged(id, now.battery);
}

// ---- Finding the device ----

BusDeviceTarget* BusDeviceService::Find(const QString& device, BusAnswer* error) const {
  std::vector<BusDeviceTarget*> present;
  for (const auto& target : targets_) {
    if (!target) continue;
    if (device.isEmpty()) {
      if (target->Present()) present.push_back(target.get());
      continue;
    }
    if (BusDeviceId(*target).compare(device, Qt::CaseInsensitive) != 0) continue;
    if (target->Present()) return target.get();
    *error = BusAnswer::Fail(kBusErrorNoDevice,
                             QStringLiteral("The device '%1' is not connected.").arg(device));
    return nullptr;
  }
  if (device.isEmpty()) {
    if (present.size() == 1) return present.front();
    *error = present.empty()
                 ? BusAnswer::Fail(kBusErrorNoDevice, QStringLiteral("No device is connected."))
                 : BusAnswer::Fail(kBusErrorInvalidArgument,
                                   QStringLiteral("Several devices are connected: name one."));
    return nullptr;
  }
  *error =
      BusAnswer::Fail(kBusErrorNoDevice, QStringLiteral("There is no device '%1'.").arg(device));
  return nullptr;
}

BusDeviceTarget* BusDeviceService::FindMouse(const QString& device, BusAnswer* error) const {
  BusDeviceTarget* target = Find(device, error);
  if (!target) return nullptr;
  if (!target->Client().HasMouse()) {
    *error = BusAnswer::Fail(
        kBusErrorInvalidArgument,
        QStringLiteral("The device '%1' has no DPI stages.").arg(BusDeviceId(*target)));
    return nullptr;
  }
  return target;
}

BusDeviceTarget* BusDeviceService::FindStage(const QString& device, int stage, BusAnswer* error) const {
  BusDeviceTarget* target = FindMouse(device, error);
  if (!target) return nullptr;
  const size_t count = target->Client().DpiStages().size();
  if (stage < 1 || static_cast<size_t>(stage) > count) {
    *error = BusAnswer::Fail(kBusErrorInvalidArgument,
                             QStringLiteral("The DPI stage must be 1 to %1.").arg(count));
    return nullptr;
  }
  return target;
}

// ---- Waiting for the device ----

void BusDeviceService::AwaitReport(BusDeviceTarget& target, DeviceReport::Action action, BusAnswer success,
                                   BusAnswerFunction done) {
  auto* pending = new PendingAnswer(std::move(done), this);  // owned by the service
  const QString id = BusDeviceId(target);
  connect(&target.Client(), &DeviceClient::reported, pending,
          [pending, action, success, id](const DeviceReport& report) {
            if (report.action != action) return;
            switch (report.outcome) {
              case ChangeOutcome::kWritten:
                pending->Answer(success);
                break;
              case ChangeOutcome::kProfileOnly:
                pending->Answer(BusAnswer::Fail(
                    kBusErrorWriteFailed,
                    QStringLiteral("The change is kept in the profile, but the device '%1' is "
                                   "gone.")
                        .arg(id)));
                break;
              case ChangeOutcome::kFailed:
                pending->Answer(BusAnswer::Fail(
                    kBusErrorWriteFailed,
                    QStringLiteral("The change is kept in the profile, but writing it to the "
                                   "device '%1' failed.")
                        .arg(id)));
                break;
            }
          });
  QTimer::singleShot(kAnswerTimeoutMs, pending, [pending, id] {
    qCWarning(lcVorlin) << "bus call: no answer from" << id;
    pending->Answer(BusAnswer::Fail(
        kBusErrorWriteFailed, QStringLiteral("The device '%1' did not answer in time.").arg(id)));
  });
}

// ---- The members ----

QList<QVariantMap> BusDeviceService::ListDevices() const {
  QList<QVariantMap> devices;
  for (const auto& target : targets_) {
    if (!target || !target->Present()) continue;
    const ProductEntry& product = target->Product();
    const DeviceView& view = target->Client().View();
    const bool receiver = view.connection == ConnectionKind::kReceiver;
    QVariantMap entry;
    entry.insert(QStringLiteral("id"), BusDeviceId(*target));
    entry.insert(QStringLiteral("kind"), KindName(product.family));
    entry.insert(QStringLiteral("product"),
                 UsbIdText(receiver && product.receiver ? *product.receiver : product.cable));
    entry.insert(QStringLiteral("connection"),
                 receiver ? QStringLiteral("receiver") : QStringLiteral("cable"));
    const ProfileList& list = target->Profiles();
    const int selected = list.SelectedIndex();
    const std::vector<std::string> names = list.Names();
    if (selected >= 0 && selected < static_cast<int>(names.size())) {
      entry.insert(QStringLiteral("profile"), FromUtf8(names[static_cast<size_t>(selected)]));
      entry.insert(QStringLiteral("profile_index"), selected + 1);
    }
    const int battery = BusBatteryLevel(*target);
    if (battery >= 0) entry.insert(QStringLiteral("battery"), battery);
    devices << entry;
  }
  return devices;
}

BusAnswer BusDeviceService::Profiles(const QString& device) const {
  BusAnswer error;
  BusDeviceTarget* target = Find(device, &error);
  if (!target) return error;
  const ProfileList& list = target->Profiles();
  QStringList names;
  for (const std::string& name : list.Names()) names << FromUtf8(name);
  return BusAnswer::Done({names, list.SelectedIndex() + 1});
}

void BusDeviceService::ApplyProfile(const QString& device, const QString& profile,
                                    BusAnswerFunction done) {
  BusAnswer error;
  BusDeviceTarget* target = Find(device, &error);
  if (!target) return done(error);
  const std::vector<std::string> names = target->Profiles().Names();
  int index = -1;
  for (size_t i = 0; i < names.size() && index < 0; ++i) {
    if (FromUtf8(names[i]) == profile) index = static_cast<int>(i);
  }
  bool number = false;
  const int position = profile.toInt(&number);
  if (index < 0 && number && position >= 1 && position <= static_cast<int>(names.size()))
    index = position - 1;
  if (index < 0) {
    return done(BusAnswer::Fail(
        kBusErrorInvalidArgument,
        QStringLiteral("The device '%1' has no profile '%2'.").arg(BusDeviceId(*target), profile)));
  }
  qCInfo(lcVorlin) << "bus: profile" << index + 1 << "on" << BusDeviceId(*target);
  // As a pick in the profile combo: made current and applied to the device.
  target->ApplyProfile(index);
  AwaitReport(*target, DeviceReport::Action::kProfile,
              BusAnswer::Done({target->Profiles().SelectedIndex() + 1}), std::move(done));
}

BusAnswer BusDeviceService::Dpi(const QString& device) const {
  BusAnswer error;
  BusDeviceTarget* target = FindMouse(device, &error);
  if (!target) return error;
  const DeviceClient& client = target->Client();
  const DpiScale scale = DpiScaleFromDeviceInfo(client.DeviceInfo());
  QList<int> values;
  for (const DpiStage& stage : client.DpiStages()) values << ShownDpi(scale, stage.dpi_x);
  return BusAnswer::Done({client.CurrentDpiStage() + 1, QVariant::fromValue(values)});
}

void BusDeviceService::SetDpiStage(const QString& device, int stage, BusAnswerFunction done) {
  BusAnswer error;
  BusDeviceTarget* target = FindStage(device, stage, &error);
  if (!target) return done(error);
  DeviceClient& client = target->Client();
  std::vector<DpiStage> stages = client.DpiStages();
  // As a stage picked on the settings panel: the current stage is always enabled.
  stages[static_cast<size_t>(stage - 1)].active = 1;
  client.StoreCurrentDpiStage(stage - 1);
  client.StoreDpiStages(stages);
  client.CommitSettings(true);
  AwaitReport(*target, DeviceReport::Action::kSettings, BusAnswer::Done(), std::move(done));
}

void BusDeviceService::SetDpiValue(const QString& device, int stage, int dpi,
                                   BusAnswerFunction done) {
  BusAnswer error;
  BusDeviceTarget* target = FindStage(device, stage, &error);
  if (!target) return done(error);
  DeviceClient& client = target->Client();
  std::vector<DpiStage> stages = client.DpiStages();
  if (dpi < kDpiMin || dpi > kDpiMax) {
    return done(
        BusAnswer::Fail(kBusErrorInvalidArgument,
                        QStringLiteral("The DPI must be %1 to %2.").arg(kDpiMin).arg(kDpiMax)));
  }
  const DpiScale scale = DpiScaleFromDeviceInfo(client.DeviceInfo());
  if (!scale.Known()) {
    return done(BusAnswer::Fail(kBusErrorNoDevice,
                                QStringLiteral("The mouse has not been read yet; try again.")));
  }
  // As a value typed into the stage's edit: rounded to the mouse's steps.
  const std::optional<int> code = DpiCodeFromEditText(scale, std::to_string(dpi));
  if (!code) {
    return done(BusAnswer::Fail(kBusErrorInvalidArgument,
                                QStringLiteral("The mouse does not take %1 DPI.").arg(dpi)));
  }
  stages[static_cast<size_t>(stage - 1)].dpi_x = static_cast<uint16_t>(*code);
  client.StoreDpiStages(stages);
  client.CommitSettings(true);
  AwaitReport(*target, DeviceReport::Action::kSettings, BusAnswer::Done({ShownDpi(scale, *code)}),
              std::move(done));
}

void BusDeviceService::SetLighting(const QString& device, int effect, int colour, int brightness,
                                   int speed, BusAnswerFunction done) {
  BusAnswer error;
  BusDeviceTarget* target = Find(device, &error);
  if (!target) return done(error);
  DeviceClient& client = target->Client();
  const LightingView& lighting = client.View().lighting;
  const int effects = static_cast<int>(lighting.builtinModes.size() + lighting.customModes.size());
  auto refuse = [&](const QString& message) {
    done(BusAnswer::Fail(kBusErrorInvalidArgument, message));
  };
  if (effect < -1 || effect >= effects)
    return refuse(QStringLiteral("The effect must be 0 to %1 on the device '%2'.")
                      .arg(effects - 1)
                      .arg(BusDeviceId(*target)));
  if (colour < -1 || colour > kColourMax)
    return refuse(QStringLiteral("The colour must be 000000 to ffffff."));
  if (brightness < -1 || brightness > kLightLevelMax)
    return refuse(QStringLiteral("The brightness must be 0 to %1.").arg(kLightLevelMax));
  if (speed < -1 || speed > kLightLevelMax)
    return refuse(QStringLiteral("The speed must be 0 to %1.").arg(kLightLevelMax));
  // As the lighting panel's controls: the device's settings changed and handed back in one call
  // (kept in the profile, previewed, written), leaving the synchronised lighting.
  LightSettings s = client.Lighting();
  if (effect >= 0) s.mode = static_cast<uint8_t>(effect);
  if (colour >= 0) {
    s.red = static_cast<uint8_t>(colour >> 16);
    s.green = static_cast<uint8_t>(colour >> 8);
    s.blue = static_cast<uint8_t>(colour);
    s.multi_color = 0;
  }
  if (brightness >= 0) s.brightness = static_cast<uint8_t>(brightness);
  if (speed >= 0) s.speed = static_cast<uint8_t>(speed);
  client.SetLighting(s, true);
  AwaitReport(*target, DeviceReport::Action::kLighting, BusAnswer::Done(), std::move(done));
}

BusAnswer BusDeviceService::ExportProfile(const QString& device, const QString& path) {
  BusAnswer error;
  BusDeviceTarget* target = Find(device, &error);
  if (!target) return error;
  if (!QDir::isAbsolutePath(path)) {
    return BusAnswer::Fail(kBusErrorInvalidArgument,
                           QStringLiteral("The file name must be an absolute path."));
  }
  // A folder that cannot take the file is the caller's mistake: it is answered here rather than
  // with the window's notice that settings cannot be stored.
  const QFileInfo folder(QFileInfo(path).absolutePath());
  if (!folder.isDir() || !folder.isWritable()) {
    return BusAnswer::Fail(
        kBusErrorWriteFailed,
        QStringLiteral("The profile could not be written to '%1': the folder cannot be written.")
            .arg(path));
  }
  if (!target->ExportProfile(LocalPath(path))) {
    return BusAnswer::Fail(kBusErrorWriteFailed,
                           QStringLiteral("The profile could not be written to '%1'.").arg(path));
  }
  return BusAnswer::Done();
}

void BusDeviceService::ImportProfile(const QString& device, const QString& path,
                                     BusAnswerFunction done) {
  BusAnswer error;
  BusDeviceTarget* target = Find(device, &error);
  if (!target) return done(error);
  if (!QDir::isAbsolutePath(path)) {
    return done(BusAnswer::Fail(kBusErrorInvalidArgument,
                                QStringLiteral("The file name must be an absolute path.")));
  }
  if (!QFileInfo(path).isFile()) {
    return done(BusAnswer::Fail(kBusErrorInvalidArgument,
                                QStringLiteral("There is no file '%1'.").arg(path)));
  }
  const ProfileList::Outcome outcome = target->ImportProfile(LocalPath(path));
  switch (outcome.status) {
    case ProfileList::Status::kOk:
      break;
    case ProfileList::Status::kLimitReached:
      return done(BusAnswer::Fail(kBusErrorInvalidArgument,
                                  QStringLiteral("The device '%1' already has %2 profiles.")
                                      .arg(BusDeviceId(*target))
                                      .arg(ProfileList::kMaxProfiles)));
    case ProfileList::Status::kRefused:
      return done(BusAnswer::Fail(kBusErrorInvalidArgument,
                                  QStringLiteral("'%1' is not a profile of the device '%2'.")
                                      .arg(path, BusDeviceId(*target))));
    default:
      return done(
          BusAnswer::Fail(kBusErrorWriteFailed, QStringLiteral("The profile could not be saved.")));
  }
  // The new profile is current and on its way to the device (as an import from the menu).
  const ProfileList& list = target->Profiles();
  const int selected = list.SelectedIndex();
  const std::vector<std::string> names = list.Names();
  const QString name = selected >= 0 && selected < static_cast<int>(names.size())
                           ? FromUtf8(names[static_cast<size_t>(selected)])
                           : QString();
  AwaitReport(*target, DeviceReport::Action::kProfile, BusAnswer::Done({selected + 1, name}),
              std::move(done));
}

}  // namespace vorlin
