#include "profiles/settings_record_codec.h"

#include "profiles/json_access.h"

namespace vorlin {
namespace {

uint8_t ReadByte(const Json::Value& object, const char* key) {
  return static_cast<uint8_t>(ReadInt(object, key));
}

uint16_t ReadWord(const Json::Value& object, const char* key) {
  return static_cast<uint16_t>(ReadInt(object, key));
}

uint16_t ReadFlag(const Json::Value& object, const char* key) {
  return ReadBool(object, key) ? 1 : 0;
}

uint32_t ReadCode(const Json::Value& object, const char* key) {
  return static_cast<uint32_t>(ReadInt(object, key)) & 0xFFFFFF;
}

}  // namespace

std::vector<KeyAssignmentPair> ReadKeyList(const Json::Value& key_list) {
  std::vector<KeyAssignmentPair> pairs;
  if (!key_list.isArray()) return pairs;
  pairs.reserve(key_list.size());
  for (Json::ArrayIndex i = 0; i < key_list.size(); ++i) {
    const Json::Value& element = key_list[i];
    KeyAssignmentPair pair;
    pair.current.key_index = static_cast<uint16_t>(i);
    pair.current.SetPackedCode(ReadCode(element, "Assignment"));
    pair.factory.key_index = static_cast<uint16_t>(i);
    pair.factory.SetPackedCode(ReadCode(element, "DefaultAssignment"));
    pairs.push_back(pair);
  }
  return pairs;
}

void WriteKeyAssignments(const std::vector<KeyAssignmentPair>& pairs, Json::Value& key_list) {
  for (Json::ArrayIndex i = 0; i < pairs.size(); ++i) {
    MutableMember(MutableElement(key_list, i), "Assignment") =
        static_cast<Json::Int>(pairs[i].current.PackedCode());
  }
}

DpiStage ReadDpiStage(const Json::Value& stage) {
  DpiStage s;
  s.active = ReadByte(stage, "StageActive");
  s.xy = ReadByte(stage, "StageXY");
  s.dpi_x = ReadWord(stage, "StageDPIX");
  s.dpi_y = ReadWord(stage, "StageDPIY");
  s.red = ReadByte(stage, "StageColorR");
  s.green = ReadByte(stage, "StageColorG");
  s.blue = ReadByte(stage, "StageColorB");
  return s;
}

void WriteDpiStage(const DpiStage& s, Json::Value& object) {
  MutableMember(object, "StageActive") = s.active;
  MutableMember(object, "StageXY") = s.xy;
  MutableMember(object, "StageDPIX") = s.dpi_x;
  MutableMember(object, "StageDPIY") = s.dpi_y;
  MutableMember(object, "StageColorR") = s.red;
  MutableMember(object, "StageColorG") = s.green;
  MutableMember(object, "StageColorB") = s.blue;
}

MouseSystemSettings ReadMouseSettings(const Json::Value& ss, const Json::Value& report_stages) {
  MouseSystemSettings s;
  s.double_click_time = ReadWord(ss, "DoubleClickTime");
  s.pointer_speed = ReadWord(ss, "MouseSpeed");
  s.pointer_precision = ReadWord(ss, "PointerPrecision");
  s.scroll_page = ReadWord(ss, "ScorllPage");
  s.wheel_lines = ReadWord(ss, "WheelScorlllinse");
  s.report_stage = ReadWord(report_stages, "StageActive");
  s.dormancy_time = ReadWord(ss, "DormancyTime");
  s.anti_shake = ReadWord(ss, "AntiShake");
  s.silent_altitude = ReadWord(ss, "SilentAltitudeItem");
  s.sensor_lift = ReadFlag(ss, "SensorLif");
  s.motion_sync = ReadFlag(ss, "MotionSync");
  s.linear_calibration = ReadFlag(ss, "LinearCalibration");
  s.key_delay = ReadWord(ss, "KeyDelay");
  s.sleep_time = ReadWord(ss, "sleeptime");
  s.sleep_time_high = ReadWord(ss, "sleeptimeH");
  s.ripple_control = ReadFlag(ss, "RippleControl");
  return s;
}

void WriteMouseSettings(const MouseSystemSettings& s, Json::Value& ss, Json::Value& report_stages) {
  MutableMember(ss, "DoubleClickTime") = s.double_click_time;
  MutableMember(ss, "MouseSpeed") = s.pointer_speed;
  MutableMember(ss, "PointerPrecision") = s.pointer_precision;
  MutableMember(ss, "ScorllPage") = s.scroll_page;
  MutableMember(ss, "WheelScorlllinse") = s.wheel_lines;
  MutableMember(report_stages, "StageActive") = s.report_stage;
  MutableMember(ss, "DormancyTime") = s.dormancy_time;
  MutableMember(ss, "AntiShake") = s.anti_shake;
  MutableMember(ss, "SilentAltitudeItem") = s.silent_altitude;
  MutableMember(ss, "SensorLif") = s.sensor_lift;
  MutableMember(ss, "MotionSync") = s.motion_sync;
  MutableMember(ss, "LinearCalibration") = s.linear_calibration;
  MutableMember(ss, "KeyDelay") = s.key_delay;
  MutableMember(ss, "sleeptime") = s.sleep_time;
  MutableMember(ss, "sleeptimeH") = s.sleep_time_high;
  MutableMember(ss, "RippleControl") = s.ripple_control;
}

KeyboardSystemSettings ReadKeyboardSettings(const Json::Value& ss) {
  KeyboardSystemSettings s;
  s.repeat = ReadWord(ss, "Repeat");
  s.repeat_delay = ReadWord(ss, "RepeatDelay");
  s.key6_flag = ReadWord(ss, "Key6Flag");
  s.polling_rate = ReadWord(ss, "PollingRate");
  s.w_flag = ReadWord(ss, "WFlag");
  s.win_flag = ReadWord(ss, "WinFlag");
  return s;
}

void WriteKeyboardSettings(const KeyboardSystemSettings& s, Json::Value& ss) {
  MutableMember(ss, "Repeat") = s.repeat;
  MutableMember(ss, "RepeatDelay") = s.repeat_delay;
  MutableMember(ss, "Key6Flag") = s.key6_flag;
  MutableMember(ss, "PollingRate") = s.polling_rate;
  MutableMember(ss, "WFlag") = s.w_flag;
  MutableMember(ss, "WinFlag") = s.win_flag;
}

HeadsetSystemSettings ReadHeadsetSettings(const Json::Value& stages) {
  HeadsetSystemSettings s;
  s.magic_enable = ReadInt(stages, "MagicEnable");
  s.magic_type = ReadInt(stages, "MagicType");
  s.eq_type = ReadInt(stages, "EqType");
  s.custom_eq_index = ReadInt(stages, "CustomEqSeletIndex");
  s.mic_in_select = ReadInt(stages, "MicInSelect");
  s.mic_in_value = ReadInt(stages, "MicInValue");
  s.mic_monitor_select = ReadInt(stages, "MicMoniterSelect");
  s.mic_monitor_value = ReadInt(stages, "MicMoniterValue");
  return s;
}

void WriteHeadsetSettings(const HeadsetSystemSettings& s, Json::Value& stages) {
  MutableMember(stages, "MagicEnable") = s.magic_enable;
  MutableMember(stages, "MagicType") = s.magic_type;
  MutableMember(stages, "EqType") = s.eq_type;
  MutableMember(stages, "CustomEqSeletIndex") = s.custom_eq_index;
  MutableMember(stages, "MicInSelect") = s.mic_in_select;
  MutableMember(stages, "MicInValue") = s.mic_in_value;
  MutableMember(stages, "MicMoniterSelect") = s.mic_monitor_select;
  MutableMember(stages, "MicMoniterValue") = s.mic_monitor_value;
}

}  // namespace vorlin
