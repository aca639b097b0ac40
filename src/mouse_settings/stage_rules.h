#pragma once

// The rules of the DPI stage rows and the option rows, apart from the widgets.
//
// Six stage rows. The current stage is always marked: its enable option cannot be used (the
// current stage is never switched off), and while only one stage is enabled its enable option
// cannot be used either, so at least one stage stays enabled. Every other enable option can be
// used; the rule is worked out afresh after each change, so switching a second stage on frees the
// option that was the last one.

#include <array>
#include <cstddef>
#include <vector>

#include "profiles/device_settings.h"

namespace vorlin {

inline constexpr int kDpiStageRows = 6;

using StageFlags = std::array<bool, kDpiStageRows>;

// Which enable options may be used, given which stages are enabled and which is current (a
// current stage outside the rows marks none).
StageFlags UsableEnableOptions(const StageFlags& enabled, int current);

// Whether stage `stage` may be switched off: not the current stage, and not the last enabled one.
bool MaySwitchOff(const StageFlags& enabled, int stage, int current);

// The option an option row shows for a stored value: the value when it names one of the `count`
// options, else option 0.
int ShownOption(int value, int count);

// Grows `stages` to at least `count` stages, each new stage i made by `make(i)`.
template <typename Make>
void GrowStages(std::vector<DpiStage>& stages, size_t count, Make make) {
  while (stages.size() < count) stages.push_back(make(static_cast<int>(stages.size())));
}

}  // namespace vorlin
