#pragma once

#include <vector>

#include "profiles/basic_profile_data.h"
#include "profiles/device_settings.h"

namespace vorlin {

// The mouse's profile data: system settings and DPI stages on top of the common ones.
class CMouseProfiledata : public CBasicProfiledata {
 public:
  // "SystemStages" and "ReportStages"; all zero when the entry has no "SystemStages".
  MouseSystemSettings GetMouseSettings();
  void SetMouseSettings(const MouseSystemSettings& settings);

  // The document's stages merged into the cached list: stage j replaces cached stage j or is
  // appended; cached stages beyond the document's count stay. Also reads the current stage.
  std::vector<DpiStage> GetDpiStages();
  // Writes every stage of the list; document stages beyond the list's length stay.
  void SetDpiStages(const std::vector<DpiStage>& stages);
  void SetCurrentDpiStage(int index);
  // The value cached by the last GetDpiStages or SetCurrentDpiStage.
  int GetCurrentDpiStage() const { return current_dpi_stage_; }

 private:
  MouseSystemSettings mouse_settings_;
  std::vector<DpiStage> dpi_stages_;
  int current_dpi_stage_ = 0;
};

}  // namespace vorlin
