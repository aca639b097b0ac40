// What `vorlin ctl` makes of its words: each command with its arguments and options, and the
// command lines it refuses before anything is sent to the program.
#include "app/ctl_command.h"

#include <gtest/gtest.h>

namespace vorlin {
namespace {

using Verb = CtlCommand::Verb;

struct Accepted {
  QStringList words;
  CtlCommand expected;
};

TEST(CtlCommand, ReadsEachCommandWithItsArgumentsAndOptions) {
  const QString cwd = QStringLiteral("/home/user/work");
  const Accepted cases[] = {
      {{"list"}, {.verb = Verb::kList}},
      {{"--json", "list"}, {.verb = Verb::kList, .json = true}},
      {{"list", "--demo"}, {.verb = Verb::kList, .demo = true}},
      {{"profile"}, {.verb = Verb::kProfile}},
      {{"profile", "Work day", "--device", "mouse"},
       {.verb = Verb::kProfile, .device = "mouse", .profile = "Work day"}},
      {{"profile", "2"}, {.verb = Verb::kProfile, .profile = "2"}},
      {{"dpi"}, {.verb = Verb::kDpi}},
      {{"--device=mouse", "dpi", "3"}, {.verb = Verb::kDpi, .device = "mouse", .stage = 3}},
      {{"dpi", "2", "1600", "--json"}, {.verb = Verb::kDpi, .json = true, .stage = 2, .dpi = 1600}},
      {{"light", "2", "--colour", "00ff00"},
       {.verb = Verb::kLight, .effect = 2, .colour = 0x00FF00}},
      {{"light", "0", "--color", "#A0b1C2", "--brightness", "4", "--speed", "0"},
       {.verb = Verb::kLight, .effect = 0, .colour = 0xA0B1C2, .brightness = 4, .speed = 0}},
      {{"export", "p.json"}, {.verb = Verb::kExport, .file = "/home/user/work/p.json"}},
      {{"import", "../in/p.json", "--device", "HD"},
       {.verb = Verb::kImport, .device = "HD", .file = "/home/user/in/p.json"}},
      {{"import", "/tmp/p.json"}, {.verb = Verb::kImport, .file = "/tmp/p.json"}},
      {{"--help"}, {.verb = Verb::kHelp}},
      {{"light", "-h"}, {.verb = Verb::kHelp}},
  };
  for (const Accepted& c : cases) {
    SCOPED_TRACE(c.words.join(' ').toStdString());
    const CtlCommand command = ParseCtlCommand(c.words, cwd);
    const CtlCommand& e = c.expected;
    EXPECT_EQ(command.error, QString());
    EXPECT_EQ(command.verb, e.verb);
    EXPECT_EQ(command.device, e.device);
    EXPECT_EQ(command.json, e.json);
    EXPECT_EQ(command.demo, e.demo);
    EXPECT_EQ(command.profile, e.profile);
    EXPECT_EQ(command.stage, e.stage);
    EXPECT_EQ(command.dpi, e.dpi);
    EXPECT_EQ(command.effect, e.effect);
    EXPECT_EQ(command.colour, e.colour);
    EXPECT_EQ(command.brightness, e.brightness);
    EXPECT_EQ(command.speed, e.speed);
    EXPECT_EQ(command.file, e.file);
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
