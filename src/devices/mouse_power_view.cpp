#include "devices/mouse_power_view.h"

namespace vorlin {

PowerPanelView BuildPowerPanelView(std::span<const uint8_t, kPowerStatusSize> status,
                                   int panel_kind, bool logo_shown) {
  PowerPanelView view;
  const int level = status[0];
  view.value_text = std::to_string(level) + "%";
  view.progress = 100 - level;
  if (panel_kind == 1 || panel_kind == 2) {
    view.wireless_logo = status[3] != 0;
    logo_shown = *view.wireless_logo;
  }
  switch (status[1]) {
    case 0:
      view.progress_visible = true;
      view.status_image = "file='power/powered.png'";
      break;
    case 1:
      view.status_image = "file='power/powering.png'";
      if (!logo_shown) view.progress_visible = true;
      break;
    case 2:
      view.progress_visible = true;
      view.status_image = "file='power/power.png'";
      break;
    default:
      break;
  }
  if (panel_kind == 3) {
    switch (status[5]) {
      case 1:
        view.phone_text = "Phone_type_iphone";
        break;
      case 2:
        view.phone_text = "Phone_type_samsung";
        break;
      case 3:
        view.phone_text = "Phone_type_other";
        break;
      default:
        view.phone_text = "Phone_type_no_device";
        break;
    }
    view.phone_image = "file='power/" + *view.phone_text + ".png'";
  }
  return view;
}

}  // namespace vorlin
