#include "mouse_settings/stage_rules.h"

#include <algorithm>

namespace vorlin {

StageFlags UsableEnableOptions(const StageFlags& enabled, int current) {
  const auto on = std::count(enabled.begin(), enabled.end(), true);
  StageFlags usable{};
  for (int i = 0; i < kDpiStageRows; ++i) {
    const bool last_one_on = enabled[static_cast<size_t>(i)] && on == 1;
    usable[static_cast<size_t>(i)] = i != current && !last_one_on;
  }
  return usable;
}

bool MaySwitchOff(const StageFlags& enabled, int stage, int current) {
  if (stage < 0 || stage >= kDpiStageRows || stage == current) return false;
  const auto others_on = std::count(enabled.begin(), enabled.end(), true) -
                         (enabled[static_cast<size_t>(stage)] ? 1 : 0);
  return others_on > 0;
}

int ShownOption(int value, int count) {
  return value >= 0 && value < count ? value : 0;
}

}  // namespace vorlin
