#pragma once

// The words for supported devices that cannot be opened (node_access.h): which nodes, why, and
// the exact commands that install the udev rule. Shown by `vorlin --probe` and meant for the
// window's no-device notice.

#include <functional>
#include <vector>

#include <QString>

#include "hid/node_access.h"

namespace vorlin {

struct UdevRule {
  // The rule file to install ("…/data/linux/70-vorlin.rules"), or empty when none is known.
  QString source;
  // The rule is already in a udev rules folder (the installed package): loading it again and
  // replugging is what is left.
  bool installed = false;
};

// The rule as this program finds it: installed below the program's prefix
// (<prefix>/lib/udev/rules.d, /usr/lib/udev/rules.d, /etc/udev/rules.d), else beside the data.
UdevRule FindUdevRule();

// Empty when there is no problem. `text` resolves a language-file key (Translator::Text).
QString AccessAdviceText(const std::vector<NodeAccessProblem>& problems, const UdevRule& rule,
                         const std::function<QString(const QString& key)>& text);

// The advice for this machine's hidraw nodes in English (the console's language), for
// `vorlin --probe`. Empty when every supported node opens.
QString ConsoleAccessAdvice();

}  // namespace vorlin
