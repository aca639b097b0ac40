#pragma once

// Controls numbered by name: "key_12", "DPI_slider_3", "color_option_7" are the prefix followed by
// the control's number.

#include <optional>

#include <QLatin1StringView>
#include <QString>

namespace vorlin {

// The number after `prefix` in `name` (decimal digits only, at most nine); none when `name` is
// not `prefix` followed by such a number.
std::optional<int> ControlNumber(const QString& name, QLatin1StringView prefix);

}  // namespace vorlin
