#pragma once

#include <json/value.h>

#include <vector>

#include "profiles/device_settings.h"
#include "profiles/key_assignment.h"

namespace vorlin {

// Conversions between the key and system-setting objects of the documents and their records.
// Readers accept any value: a missing or wrong-shaped key reads as 0.

// "KeyList": element i becomes key i; "Assignment" and "DefaultAssignment" unpacked into codes.
std::vector<KeyAssignmentPair> ReadKeyList(const Json::Value& key_list);
// Writes "Assignment" of element i for every pair; "DefaultAssignment" is the factory's and is
// never written. Elements beyond the list stay as they are.
void WriteKeyAssignments(const std::vector<KeyAssignmentPair>& pairs, Json::Value& key_list);

// A "StageDPIs" element.
DpiStage ReadDpiStage(const Json::Value& stage);
void WriteDpiStage(const DpiStage& stage, Json::Value& object);

// The mouse's "SystemStages" with the report-rate stage from "ReportStages".
MouseSystemSettings ReadMouseSettings(const Json::Value& system_stages,
                                      const Json::Value& report_stages);
void WriteMouseSettings(const MouseSystemSettings& settings, Json::Value& system_stages,
                        Json::Value& report_stages);

// The keyboard's "SystemStages".
KeyboardSystemSettings ReadKeyboardSettings(const Json::Value& system_stages);
void WriteKeyboardSettings(const KeyboardSystemSettings& settings, Json::Value& system_stages);

// The headset's "SystemSetStages".
HeadsetSystemSettings ReadHeadsetSettings(const Json::Value& stages);
void WriteHeadsetSettings(const HeadsetSystemSettings& settings, Json::Value& stages);

}  // namespace vorlin
