#include "app/command_line.h"

#include <QCommandLineParser>

namespace vorlin {

namespace {

// Options QGuiApplication takes for itself; the first group is followed by a value.
const QStringList kQtValueOptions = {
    QStringLiteral("platform"),      QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"), QStringLiteral("plugin"),
    QStringLiteral("display"),       QStringLiteral("style"),
    QStringLiteral("stylesheet"),    QStringLiteral("qwindowgeometry"),
    QStringLiteral("qwindowtitle"),  QStringLiteral("qwindowicon"),
    QStringLiteral("session"),       QStringLiteral("geometry")};
const QStringList kQtFlagOptions = {QStringLiteral("reverse"), QStringLiteral("widgetcount")};

// The arguments without Qt's own window-system options (which the application object reads).
QStringList WithoutQtOptions(const QStringList& arguments) {
  QStringList kept;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (i > 0 && argument.startsWith(QLatin1Char('-'))) {
      QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
      const bool has_inline_value = name.contains(QLatin1Char('='));
      name = name.section(QLatin1Char('='), 0, 0);
      if (kQtFlagOptions.contains(name)) continue;
      if (kQtValueOptions.contains(name)) {
        if (!has_inline_value) ++i;  // its value follows
        continue;
      }
    }
    kept << argument;
  }
  return kept;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments, const QString& version) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Configuration utility for the mouse, keyboard, mouse pad and headset.\n"
                     "Scripts drive the running program with 'vorlin ctl' (see 'vorlin ctl "
                     "--help')."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and exit."));
  const QCommandLineOption show_version({QStringLiteral("v"), QStringLiteral("version")},
                                        QStringLiteral("Show the version and exit."));
  const QCommandLineOption demo(
      QStringLiteral("demo"),
      QStringLiteral("Use the emulated devices only; their settings are kept in a demo folder of "
                     "their own."));
  const QCommandLineOption sim_socket(
      QStringLiteral("sim-socket"),
      QStringLiteral("Accept emulated devices from other processes on this socket (also "
                     "VORLIN_SIM_SOCKET)."),
      QStringLiteral("path"));
  const QCommandLineOption probe(QStringLiteral("probe"),
                                 QStringLiteral("List the supported devices on the console and "
                                                "exit."));
  const QCommandLineOption check_updates(
      QStringLiteral("check-updates"),
      QStringLiteral("Ask the update server about the program and every connected device, print one "
                     "line per row and exit (0 up to date, 1 an update exists, 2 the server could "
                     "not be asked)."));
  const QCommandLineOption wait(
      QStringLiteral("wait"),
      QStringLiteral("With --probe: keep serving the emulator socket until interrupted."));
  const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                      QStringLiteral("Write a PNG of the main window and exit."),
                                      QStringLiteral("path"));
  const QCommandLineOption scale(
      QStringLiteral("scale"),
      QStringLiteral("The window's scale in DPI (96 = 100 %, 144 = 150 %)."),
      QStringLiteral("dpi"));
  const QCommandLineOption automation(
      QStringLiteral("automation"),
      QStringLiteral("Serve the automation interface on this socket (also VORLIN_AUTOMATION)."),
      QStringLiteral("path"));
  const QCommandLineOption verbose(
      QStringLiteral("verbose"),
      QStringLiteral("Log everything the program does, not only warnings and errors."));
  parser.addOptions(
      {help, show_version, demo, sim_socket, probe, check_updates, wait, screenshot, scale,
       automation, verbose});

  CommandLine result;
  if (!parser.parse(WithoutQtOptions(arguments))) {
    result.action = CommandLine::Action::kError;
    result.text = parser.errorText();
    return result;
  }
  if (parser.isSet(help)) {
    result.action = CommandLine::Action::kHelp;
    // Without an application object Qt names the program "<executable_name>".
    result.text =
        parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("vorlin"));
    return result;
  }
  if (parser.isSet(show_version)) {
    result.action = CommandLine::Action::kVersion;
    result.text = QStringLiteral("vorlin %1\n").arg(version);
    return result;
  }
  if (!parser.positionalArguments().isEmpty()) {
    result.action = CommandLine::Action::kError;
    result.text = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments()[0]);
    return result;
  }
  result.demo = parser.isSet(demo);
  result.probe = parser.isSet(probe);
  result.wait = parser.isSet(wait);
  result.checkUpdates = parser.isSet(check_updates);
  result.verbose = parser.isSet(verbose);
  result.simSocket = parser.value(sim_socket);
  result.screenshotPath = parser.value(screenshot);
  result.automationPath = parser.value(automation);
  if (parser.isSet(scale)) {
    bool ok = false;
    result.forcedDpi = parser.value(scale).toInt(&ok);
    if (!ok || result.forcedDpi <= 0) {
      result.action = CommandLine::Action::kError;
      result.text = QStringLiteral("--scale takes a DPI value such as 96 or 144.");
    }
  }
  return result;
}

QString CommandLineErrorText(const QString& error) {
  return QStringLiteral("vorlin: %1\nTry 'vorlin --help' for more information.\n").arg(error);
}

}  // namespace vorlin
