#pragma once

#include <QString>

namespace vorlin {

// A level on its scale in the interface language ("level_of_max_text": "3/4").
QString LevelOfMaximumText(int value, int maximum);
// A number with its unit, the unit a text key ("unit_ms_text": "500 ms").
QString ValueWithUnitText(int value, const QString& unit_key);

}  // namespace vorlin
