// The words for supported devices that cannot be opened.

#include "app/access_advice.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <QFile>

#include "ui/language_file.h"

namespace vorlin {
namespace {

LanguageTexts Shipped(const char* file) {
  QFile document(QStringLiteral(VORLIN_SOURCE_DIR "/data/skin/") + QLatin1String(file));
  EXPECT_TRUE(document.open(QIODevice::ReadOnly)) << file;
  return ParseLanguageFile(document.readAll()).value_or(LanguageTexts{});
}

TEST(AccessAdviceTest, NamesEachNodeAndGivesTheCommandsToRun) {
  const LanguageTexts english = Shipped("lan_en.xml");
  const auto text = [&english](const QString& key) { return english.texts.value(key, key); };
  const std::vector<NodeAccessProblem> problems = {{"/dev/hidraw4", 0x320F, 0x225E, EACCES},
                                                   {"/dev/hidraw7", 0x0C76, 0x1630, EPERM}};
  const struct {
    UdevRule rule;
    QStringList lines;
  } cases[] = {
      {{"/src/data/linux/70-vorlin.rules", false},
       {"/dev/hidraw4 (USB 320f:225e) is a supported device but cannot be opened: Permission "
        "denied.",
        "/dev/hidraw7 (USB 0c76:1630) is a supported device but cannot be opened: Operation not "
        "permitted.",
        "Let your user open the devices by installing the udev rule, then unplug and replug them:",
        "  sudo install -m 644 /src/data/linux/70-vorlin.rules /etc/udev/rules.d/",
        "  sudo udevadm control --reload",
        "  sudo udevadm trigger --subsystem-match=hidraw"}},
      {{"/usr/lib/udev/rules.d/70-vorlin.rules", true},
       {"/dev/hidraw4 (USB 320f:225e) is a supported device but cannot be opened: Permission "
        "denied.",
        "/dev/hidraw7 (USB 0c76:1630) is a supported device but cannot be opened: Operation not "
        "permitted.",
        "The udev rule is installed: load it again, then unplug and replug the devices:",
        "  sudo udevadm control --reload",
        "  sudo udevadm trigger --subsystem-match=hidraw"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AccessAdviceText(problems, c.rule, text).split('\n'), c.lines);
    EXPECT_TRUE(AccessAdviceText({}, c.rule, text).isEmpty());
  }
}

TEST(AccessAdviceTest, EveryLanguageHasTheWords) {
  for (const char* file : {"lan_en.xml", "lan_cn.xml"}) {
    const LanguageTexts texts = Shipped(file);
    for (const char* key :
         {"no_access_node_text", "no_access_install_text", "no_access_reload_text"})
      EXPECT_TRUE(texts.texts.contains(QLatin1String(key))) << file << " " << key;
    EXPECT_TRUE(texts.texts.value("no_access_node_text").contains("%3")) << file;
  }
}

}  // namespace
}  // namespace vorlin
