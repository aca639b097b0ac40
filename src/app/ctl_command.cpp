#include "app/ctl_command.h"

#include <QCommandLineParser>
#include <QDir>
#include <QRegularExpression>

namespace vorlin {

namespace {

// A whole decimal number within `low`..`high`.
bool ReadNumber(const QString& text, int low, int high, int* value) {
  static const QRegularExpression kDigits(QStringLiteral("^[0-9]{1,9}$"));
  if (!kDigits.match(text).hasMatch()) return false;
  const int number = text.toInt();
  if (number < low || number > high) return false;
  *value = number;
  return true;
}

// RRGGBB, with or without a leading '#'.
bool ReadColour(QString text, int* colour) {
  if (text.startsWith(QLatin1Char('#'))) text.remove(0, 1);
  static const QRegularExpression kHex(QStringLiteral("^[0-9A-Fa-f]{6}$"));
  if (!kHex.match(text).hasMatch()) return false;
  *colour = text.toInt(nullptr, 16);
  return true;
}

CtlCommand Refused(const QString& error) {
  CtlCommand command;
  command.error = error;
  return command;
}

// The highest numbers the command line takes; the program checks each against the device.
constexpr int kLargestNumber = 999999;

}  // namespace

CtlCommand ParseCtlCommand(const QStringList& words, const QString& working_folder) {
  QCommandLineParser parser;
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
  const QCommandLineOption device(QStringLiteral("device"), QString(), QStringLiteral("id"));
  const QCommandLineOption json(QStringLiteral("json"), QString());
  const QCommandLineOption demo(QStringLiteral("demo"), QString());
  const QCommandLineOption colour({QStringLiteral("colour"), QStringLiteral("color")}, QString(),
                                  QStringLiteral("rrggbb"));
  const QCommandLineOption brightness(QStringLiteral("brightness"), QString(), QStringLiteral("n"));
  const QCommandLineOption speed(QStringLiteral("speed"), QString(), QStringLiteral("n"));
  parser.addOptions({help, device, json, demo, colour, brightness, speed});
  // The parser takes the program's name first.
  if (!parser.parse(QStringList{QStringLiteral("ctl")} + words)) return Refused(parser.errorText());

  CtlCommand command;
  if (parser.isSet(help)) return command;  // kHelp
  const QStringList args = parser.positionalArguments();
  if (args.isEmpty()) return Refused(QStringLiteral("Missing command."));
  command.device = parser.value(device);
  command.json = parser.isSet(json);
  command.demo = parser.isSet(demo);
  if (parser.isSet(device) && command.device.isEmpty())
    return Refused(QStringLiteral("--device needs a device id (see 'vorlin ctl list')."));

  const QString& verb = args[0];
  const qsizetype extra = args.size() - 1;
  const bool light_options =
      parser.isSet(colour) || parser.isSet(brightness) || parser.isSet(speed);
  if (light_options && verb != QLatin1String("light"))
    return Refused(QStringLiteral("--colour, --brightness and --speed belong to 'light'."));

  if (verb == QLatin1String("list")) {
    if (extra > 0) return Refused(QStringLiteral("'list' takes no arguments."));
    command.verb = CtlCommand::Verb::kList;
  } else if (verb == QLatin1String("profile")) {
    if (extra > 1) return Refused(QStringLiteral("'profile' takes one profile name or index."));
    command.verb = CtlCommand::Verb::kProfile;
    if (extra == 1) {
      command.profile = args[1];
      if (command.profile.isEmpty()) return Refused(QStringLiteral("The profile name is empty."));
    }
  } else if (verb == QLatin1String("dpi")) {
    if (extra > 2) return Refused(QStringLiteral("'dpi' takes a stage and a DPI value."));
    command.verb = CtlCommand::Verb::kDpi;
    if (extra >= 1 && !ReadNumber(args[1], 1, kLargestNumber, &command.stage))
      return Refused(QStringLiteral("The stage must be a number from 1: '%1'.").arg(args[1]));
    if (extra == 2 && !ReadNumber(args[2], 1, kLargestNumber, &command.dpi))
      return Refused(QStringLiteral("The DPI must be a positive number: '%1'.").arg(args[2]));
  } else if (verb == QLatin1String("light")) {
    if (extra != 1) return Refused(QStringLiteral("'light' takes one effect number."));
    command.verb = CtlCommand::Verb::kLight;
    if (!ReadNumber(args[1], 0, kLargestNumber, &command.effect))
      return Refused(QStringLiteral("The effect must be a number from 0: '%1'.").arg(args[1]));
    if (parser.isSet(colour) && !ReadColour(parser.value(colour), &command.colour))
      return Refused(
          QStringLiteral("--colour takes RRGGBB in hexadecimal: '%1'.").arg(parser.value(colour)));
    if (parser.isSet(brightness) &&
        !ReadNumber(parser.value(brightness), 0, kLargestNumber, &command.brightness))
      return Refused(QStringLiteral("--brightness takes a number from 0: '%1'.")
                         .arg(parser.value(brightness)));
    if (parser.isSet(speed) && !ReadNumber(parser.value(speed), 0, kLargestNumber, &command.speed))
      return Refused(
          QStringLiteral("--speed takes a number from 0: '%1'.").arg(parser.value(speed)));
  } else if (verb == QLatin1String("export") || verb == QLatin1String("import")) {
    if (extra != 1 || args[1].isEmpty())
      return Refused(QStringLiteral("'%1' takes one file name.").arg(verb));
    command.verb =
        verb == QLatin1String("export") ? CtlCommand::Verb::kExport : CtlCommand::Verb::kImport;
    command.file = QDir::cleanPath(QDir(working_folder).absoluteFilePath(args[1]));
  } else {
    return Refused(QStringLiteral("Unknown command '%1'.").arg(verb));
  }
  return command;
}

QString CtlHelpText() {
  return QStringLiteral(
      "Usage: vorlin ctl [--device ID] [--json] [--demo] COMMAND [ARGUMENTS]\n"
      "Drive the devices: through the running vorlin program, or, when it is not\n"
      "running, by opening them directly (a start of vorlin waits until that is done).\n"
      "\n"
      "Commands:\n"
      "  list                      The connected devices: id, kind, connection, battery,\n"
      "                            current profile.\n"
      "  profile                   The device's profiles; the current one is marked '*'.\n"
      "  profile NAME|INDEX        Make a profile current (by name, or by index from 1).\n"
      "  dpi                       The mouse's DPI stages; the current one is marked '*'.\n"
      "  dpi STAGE                 Make a DPI stage (from 1) current.\n"
      "  dpi STAGE VALUE           Give a DPI stage a new DPI value.\n"
      "  light EFFECT [--colour RRGGBB] [--brightness N] [--speed N]\n"
      "                            Set the lighting effect (a number from 0 as in the\n"
      "                            window's effect list), its colour, brightness (0-4) and\n"
      "                            speed (0-4); without --device on every connected device.\n"
      "  export FILE               Write the current profile to FILE.\n"
      "  import FILE               Add the profile in FILE and make it current.\n"
      "\n"
      "Options:\n"
      "  --device ID               The device to drive (an id from 'list': mouse, keyboard,\n"
      "                            MousePad, HD). Needed when several devices are connected,\n"
      "                            except for 'light' and, with a single mouse, 'dpi'.\n"
      "  --json                    Print the result as JSON.\n"
      "  --demo                    When vorlin is not running, drive the emulated devices\n"
      "                            (kept in vorlin's demo folder) instead of the plugged-in\n"
      "                            ones.\n"
      "  -h, --help                Show this help and exit.\n"
      "\n"
      "Exit codes:\n"
      "  0  done\n"
      "  1  another failure (the bus broke off, the devices could not be opened)\n"
      "  2  wrong command line, or a value the device does not have\n"
      "  3  vorlin is running but cannot be reached on the session bus\n"
      "  4  the device is not connected\n"
      "  5  the device or the file could not be written\n"
      "\n"
      "Messages go to standard error, in English. See docs/dbus.md for the D-Bus interface.\n");
}

QString CtlUsageErrorText(const QString& error) {
  return QStringLiteral("vorlin ctl: %1\nTry 'vorlin ctl --help' for more information.\n")
      .arg(error);
}

}  // namespace vorlin
