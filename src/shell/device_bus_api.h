#pragma once

// The device half of the session-bus interface: what scripts and `vorlin ctl` ask of the running
// program (list the devices, their profiles, DPI stages and lighting, profile files) and the
// names of the errors it answers with. The shell only carries the calls; the program's devices
// answer them through a DeviceBusHandler (app/bus_device_service.h).

#include <functional>

#include <QList>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

namespace vorlin {

// The version of the device interface; it grows when a member is added, and members never
// change once published.
inline constexpr unsigned kDeviceBusVersion = 1;

// The error names of the device interface (the message is English text for people).
inline constexpr char kBusErrorNoDevice[] = "org.vorlin.Vorlin.Error.NoDevice";
inline constexpr char kBusErrorInvalidArgument[] = "org.vorlin.Vorlin.Error.InvalidArgument";
inline constexpr char kBusErrorWriteFailed[] = "org.vorlin.Vorlin.Error.WriteFailed";

// The answer to one call: the output arguments, or an error name with its message.
struct BusAnswer {
  QString error;  // empty on success
  QString message;
  QVariantList values;

  bool ok() const { return error.isEmpty(); }
  static BusAnswer Done(QVariantList values = {}) { return {QString(), QString(), values}; }
  static BusAnswer Fail(const char* error, const QString& message) {
    return {QString::fromLatin1(error), message, {}};
  }
};

// Called once with the answer of a call whose outcome the device gives later.
using BusAnswerFunction = std::function<void(const BusAnswer&)>;

// What the program's devices answer. Every call arrives on the UI thread and returns at once;
// the calls that take a BusAnswerFunction answer through it once the device has reported (or
// at once for an error found before anything was sent). `device` is a device id (ListDevices);
// indexes of profiles and DPI stages count from 1.
class DeviceBusHandler {
 public:
  virtual ~DeviceBusHandler() = default;
  // One map per connected device: "id", "kind", "product", "connection", "profile",
  // "profile_index" and, when known, "battery".
  virtual QList<QVariantMap> ListDevices() const = 0;
  // values: the profile names (QStringList) and the current profile's index.
  virtual BusAnswer Profiles(const QString& device) const = 0;
  // `profile`: a profile name, or its index in decimal. values: the index applied.
  virtual void ApplyProfile(const QString& device, const QString& profile,
                            BusAnswerFunction done) = 0;
  // values: the current stage and the DPI of every stage (QList<int>).
  virtual BusAnswer Dpi(const QString& device) const = 0;
  virtual void SetDpiStage(const QString& device, int stage, BusAnswerFunction done) = 0;
  // values: the DPI the stage has now (the mouse keeps DPI in steps).
  virtual void SetDpiValue(const QString& device, int stage, int dpi, BusAnswerFunction done) = 0;
  // -1 leaves a value as it is; `colour` is 0xRRGGBB.
  virtual void SetLighting(const QString& device, int effect, int colour, int brightness, int speed,
                           BusAnswerFunction done) = 0;
  // Writes the current profile's document to the absolute `path`.
  virtual BusAnswer ExportProfile(const QString& device, const QString& path) = 0;
  // A new profile from the document at the absolute `path`, made current and applied.
  // values: its index and name.
  virtual void ImportProfile(const QString& device, const QString& path,
                             BusAnswerFunction done) = 0;
};

}  // namespace vorlin
