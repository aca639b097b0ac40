#include "app/access_advice.h"

#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "catalogue/extra_product_ids.h"
#include "catalogue/product_catalogue.h"
#include "shell/app_paths.h"
#include "ui/language_file.h"

namespace vorlin {

namespace {

constexpr char kRuleName[] = "70-vorlin.rules";

QString UsbIdText(uint16_t vendor, uint16_t product) {
  return QStringLiteral("%1:%2")
      .arg(vendor, 4, 16, QLatin1Char('0'))
      .arg(product, 4, 16, QLatin1Char('0'));
}

}  // namespace

UdevRule FindUdevRule() {
  const QString prefix = QDir::cleanPath(InstallFolder() + QStringLiteral("/../.."));
  for (const QString& folder :
       {prefix + QStringLiteral("/lib/udev/rules.d"), QStringLiteral("/usr/lib/udev/rules.d"),
        QStringLiteral("/lib/udev/rules.d"), QStringLiteral("/etc/udev/rules.d")}) {
    const QString path = folder + QLatin1Char('/') + QLatin1String(kRuleName);
    if (QFileInfo::exists(path)) return {path, true};
  }
  // A build tree's data folder has the rule in linux/ beside the skin.
  const QString beside = InstallPath(QStringLiteral("linux/") + QLatin1String(kRuleName));
  return {QFileInfo::exists(beside) ? beside : QString(), false};
}

QString AccessAdviceText(const std::vector<NodeAccessProblem>& problems, const UdevRule& rule,
                         const std::function<QString(const QString& key)>& text) {
  if (problems.empty()) return {};
  QStringList lines;
  for (const NodeAccessProblem& problem : problems) {
    lines << text(QStringLiteral("no_access_node_text"))
                 .arg(QString::fromStdString(problem.node),
                      UsbIdText(problem.vendorId, problem.productId),
                      QString::fromLocal8Bit(std::strerror(problem.error)));
  }
  // One command a line, as in data/linux/README.md: short enough for the no-device screen.
  const QStringList reload = {QStringLiteral("  sudo udevadm control --reload"),
                              QStringLiteral("  sudo udevadm trigger --subsystem-match=hidraw")};
  if (rule.installed) {
    lines << text(QStringLiteral("no_access_reload_text")) << reload;
  } else {
    const QString source = rule.source.isEmpty()
                               ? QStringLiteral("data/linux/") + QLatin1String(kRuleName)
                               : rule.source;
    lines << text(QStringLiteral("no_access_install_text"))
          << QStringLiteral("  sudo install -m 644 %1 /etc/udev/rules.d/").arg(source)
          << reload;
  }
  return lines.join(QLatin1Char('\n'));
}

QString ConsoleAccessAdvice() {
  const ProductCatalogue catalogue = ProgramCatalogue();
  const std::vector<NodeAccessProblem> problems =
      FindUnopenableHidrawNodes(catalogue.InterfaceRows());
  if (problems.empty()) return {};
  QFile file(InstallPath(QStringLiteral("skin/lan_en.xml")));
  std::optional<LanguageTexts> english;
  if (file.open(QIODevice::ReadOnly)) english = ParseLanguageFile(file.readAll());
  return AccessAdviceText(problems, FindUdevRule(), [&english](const QString& key) {
    return english ? english->texts.value(key, key) : key;
  });
}

}  // namespace vorlin
