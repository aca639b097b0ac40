#include "profiles/mouse_profile_data.h"

#include "profiles/json_access.h"
#include "profiles/settings_record_codec.h"

namespace vorlin {

MouseSystemSettings CMouseProfiledata::GetMouseSettings() {
  const Json::Value& system_stages = Member(entry_value(), "SystemStages");
  mouse_settings_ = system_stages.isNull()
                        ? MouseSystemSettings{}
                        : ReadMouseSettings(system_stages, Member(entry_value(), "ReportStages"));
  return mouse_settings_;
}

void CMouseProfiledata::SetMouseSettings(const MouseSystemSettings& settings) {
  mouse_settings_ = settings;
  Json::Value& system_stages = MutableMember(entry(), "SystemStages");
  WriteMouseSettings(settings, system_stages, MutableMember(entry(), "ReportStages"));
}

std::vector<DpiStage> CMouseProfiledata::GetDpiStages() {
  const Json::Value& dpi_stages = Member(entry_value(), "DPIStages");
  if (dpi_stages.isNull()) return dpi_stages_;
  current_dpi_stage_ = ReadInt(dpi_stages, "StageActive");
  const Json::Value& stages = Member(dpi_stages, "StageDPIs");
  if (!stages.isArray()) return dpi_stages_;
  for (Json::ArrayIndex j = 0; j < stages.size(); ++j) {
    const DpiStage stage = ReadDpiStage(stages[j]);
    if (j < dpi_stages_.size())
      dpi_stages_[j] = stage;
    else
      dpi_stages_.push_back(stage);
  }
  return dpi_stages_;
}

void CMouseProfiledata::SetDpiStages(const std::vector<DpiStage>& stages) {
  dpi_stages_ = stages;
  Json::Value& list = MutableMember(MutableMember(entry(), "DPIStages"), "StageDPIs");
  for (Json::ArrayIndex i = 0; i < stages.size(); ++i)
    WriteDpiStage(stages[i], MutableElement(list, i));
}

void CMouseProfiledata::SetCurrentDpiStage(int index) {
  current_dpi_stage_ = index;
  MutableMember(MutableMember(entry(), "DPIStages"), "StageActive") = index;
}

}  // namespace vorlin
