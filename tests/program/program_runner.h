#pragma once

// Runs the built program as a user would from a terminal and collects what it prints.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace vorlin::test {

struct ProgramRun {
  int exitCode = -1;
  bool crashed = false;
  QString out;
  QString err;
};

// The environment of a terminal without any display: no X11, no Wayland, no forced Qt platform.
inline QProcessEnvironment EnvironmentWithoutDisplay() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_LOGGING_RULES"})
    environment.remove(QString::fromLatin1(name));
  return environment;
}

// A run in folders of its own below `home`, on the offscreen platform, without a session bus.
inline QProcessEnvironment IsolatedEnvironment(const QString& home) {
  QProcessEnvironment environment = EnvironmentWithoutDisplay();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("HOME", home);
  environment.insert("XDG_DATA_HOME", home + "/data");
  environment.insert("XDG_CONFIG_HOME", home + "/config");
  environment.insert("XDG_RUNTIME_DIR", home);
  environment.remove("DBUS_SESSION_BUS_ADDRESS");
  return environment;
}

inline ProgramRun RunProgram(const QString& program, const QStringList& arguments,
                             const QProcessEnvironment& environment, int timeout_ms = 60000) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  ProgramRun run;
  if (!process.waitForFinished(timeout_ms)) {
    process.kill();
    process.waitForFinished();
    run.crashed = true;
  }
  run.crashed = run.crashed || process.exitStatus() != QProcess::NormalExit;
  run.exitCode = process.exitCode();
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

}  // namespace vorlin::test
