// What `vorlin ctl` makes of its words: each command with its arguments and options, and the
// command lines it refuses before anything is sent to the program.
#include "app/ctl_command.h"

#include <gtest/gtest.h>

namespace vorlin {
namespace {

using Verb = CtlCommand::Verb;

struct Accepted {
  QStringList words;
  Verb verb;
  QString device;
  bool json;
  QString profile;
  int stage, dpi, effect, colour, brightness, speed;
  QString file;
};

TEST(CtlCommand, ReadsEachCommandWithItsArgumentsAndOptions) {
  const QString cwd = QStringLiteral("/home/user/work");
  const Accepted cases[] = {
      {{"list"}, Verb::kList, "", false, "", 0, 0, -1, -1, -1, -1, ""},
      {{"--json", "list"}, Verb::kList, "", true, "", 0, 0, -1, -1, -1, -1, ""},
      {{"profile"}, Verb::kProfile, "", false, "", 0, 0, -1, -1, -1, -1, ""},
      {{"profile", "Work day", "--device", "mouse"},
       Verb::kProfile,
       "mouse",
       false,
       "Work day",
       0,
       0,
       -1,
       -1,
       -1,
       -1,
       ""},
      {{"profile", "2"}, Verb::kProfile, "", false, "2", 0, 0, -1, -1, -1, -1, ""},
      {{"dpi"}, Verb::kDpi, "", false, "", 0, 0, -1, -1, -1, -1, ""},
      {{"--device=mouse", "dpi", "3"}, Verb::kDpi, "mouse", false, "", 3, 0, -1, -1, -1, -1, ""},
      {{"dpi", "2", "1600", "--json"}, Verb::kDpi, "", true, "", 2, 1600, -1, -1, -1, -1, ""},
      {{"light", "2", "--colour", "00ff00"},
       Verb::kLight,
       "",
       false,
       "",
       0,
       0,
       2,
       0x00FF00,
       -1,
       -1,
       ""},
      {{"light", "0", "--color", "#A0b1C2", "--brightness", "4", "--speed", "0"},
       Verb::kLight,
       "",
       false,
       "",
       0,
       0,
       0,
       0xA0B1C2,
       4,
       0,
       ""},
      {{"export", "p.json"},
       Verb::kExport,
       "",
       false,
       "",
       0,
       0,
       -1,
       -1,
       -1,
       -1,
       "/home/user/work/p.json"},
      {{"import", "../in/p.json", "--device", "HD"},
       Verb::kImport,
       "HD",
       false,
       "",
       0,
       0,
       -1,
       -1,
       -1,
       -1,
       "/home/user/in/p.json"},
      {{"import", "/tmp/p.json"},
       Verb::kImport,
       "",
       false,
       "",
       0,
       0,
       -1,
       -1,
       -1,
       -1,
       "/tmp/p.json"},
      {{"--help"}, Verb::kHelp, "", false, "", 0, 0, -1, -1, -1, -1, ""},
      {{"light", "-h"}, Verb::kHelp, "", false, "", 0, 0, -1, -1, -1, -1, ""},
  };
  for (const Accepted& c : cases) {
    SCOPED_TRACE(c.words.join(' ').toStdString());
    const CtlCommand command = ParseCtlCommand(c.words, cwd);
    EXPECT_EQ(command.error, QString());
    EXPECT_EQ(command.verb, c.verb);
    EXPECT_EQ(command.device, c.device);
    EXPECT_EQ(command.json, c.json);
    EXPECT_EQ(command.profile, c.profile);
    EXPECT_EQ(command.stage, c.stage);
    EXPECT_EQ(command.dpi, c.dpi);
    EXPECT_EQ(command.effect, c.effect);
    EXPECT_EQ(command.colour, c.colour);
    EXPECT_EQ(command.brightness, c.brightness);
    EXPECT_EQ(command.speed, c.speed);
    EXPECT_EQ(command.file, c.file);
  }
}

TEST(CtlCommand, RefusesWhatIsWrongAndSaysWhat) {
  const struct {
    QStringList words;
    const char* said;  // a part of the error
  } cases[] = {
      {{}, "Missing command"},
      {{"frobnicate"}, "Unknown command 'frobnicate'"},
      {{"--bogus", "list"}, "bogus"},
      {{"list", "extra"}, "no arguments"},
      {{"profile", "a", "b"}, "one profile"},
      {{"profile", ""}, "empty"},
      {{"dpi", "0"}, "stage"},
      {{"dpi", "two"}, "stage"},
      {{"dpi", "2", "fast"}, "DPI"},
      {{"dpi", "2", "0"}, "DPI"},
      {{"dpi", "1", "2", "3"}, "a stage and a DPI value"},
      {{"dpi", "--colour", "00ff00"}, "belong to 'light'"},
      {{"light"}, "one effect"},
      {{"light", "x"}, "effect"},
      {{"light", "1", "2"}, "one effect"},
      {{"light", "2", "--colour", "green"}, "RRGGBB"},
      {{"light", "2", "--colour", "00ff0"}, "RRGGBB"},
      {{"light", "2", "--colour", "00ff000"}, "RRGGBB"},
      {{"light", "2", "--brightness", "high"}, "--brightness"},
      {{"light", "2", "--speed", ""}, "--speed"},
      {{"light", "2", "--colour"}, "colour"},
      {{"export"}, "one file"},
      {{"import", "a", "b"}, "one file"},
      {{"--device", "", "list"}, "--device needs"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words.join(' ').toStdString());
    const CtlCommand command = ParseCtlCommand(c.words, QStringLiteral("/tmp"));
    EXPECT_TRUE(command.error.contains(QLatin1String(c.said))) << command.error.toStdString();
  }
}

TEST(CtlCommand, HelpNamesEveryCommandAndExitCode) {
  const QString help = CtlHelpText();
  for (const char* word : {"list", "profile NAME|INDEX", "dpi STAGE VALUE", "light EFFECT",
                           "export FILE", "import FILE", "--device ID", "--json"}) {
    EXPECT_TRUE(help.contains(QLatin1String(word))) << word;
  }
  for (int code :
       {kCtlDone, kCtlFailed, kCtlUsage, kCtlNotRunning, kCtlNoDevice, kCtlWriteFailed}) {
    EXPECT_TRUE(help.contains(QStringLiteral("\n  %1  ").arg(code))) << code;
  }
  EXPECT_TRUE(
      CtlUsageErrorText(QStringLiteral("Bad.")).contains(QLatin1String("vorlin ctl --help")));
}

}  // namespace
}  // namespace vorlin
