// The main window's side of lighting: the synchronised mode over every connected device, and the
// game lighting that other programs ask for over the session bus.

#include <QWidget>

#include "app/main_window.h"
#include "devices/device_client.h"
#include "devices/device_manager.h"
#include "devices/usb_device.h"
#include "hid/device_link.h"
#include "lighting_steps/sync_lighting.h"
#include "pages/device_option.h"
#include "pages/device_page.h"
#include "platform/log.h"
#include "ui/control_timers.h"

namespace vorlin {

DevicePage* CMainWnd::SelectedPage() const {
  for (CDeviceOptionUI* option : Options()) {
    if (option->Shown() && option->IsSelected()) return option->Page();
  }
  return nullptr;
}

void CMainWnd::SyncLighting() {
  DevicePage* selected = SelectedPage();
  if (!selected || !devices_) return;
  const LightSettings settings = selected->Client().Lighting();
  const std::optional<SyncDeviceClass> selected_class =
      SyncDeviceClassForKind(selected->Product().cable.kind);
  if (!selected_class) return;
  const std::optional<SyncType> type = SyncTypeForEffect(*selected_class, settings.mode);
  if (!type) return;  // the effect has no common form: nothing changes
  lighting_sync_.Start({*type, settings.brightness, settings.speed, settings.direction,
                        settings.multi_color != 0,
                        Rgb{settings.red, settings.green, settings.blue}});
  for (size_t index = 0; index < devices_->Count(); ++index) {
    CHalvexUSBDevice* device = devices_->Device(index);
    DevicePage* page = PageOf(index);
    if (!device || !page || !device->LinkOpen()) continue;
    const std::optional<SyncDeviceClass> device_class =
        SyncDeviceClassForKind(page->Product().cable.kind);
    if (!device_class) continue;
    device->Link().lightingHold.store(true);
    LightSettings synced = settings;
    synced.mode = EffectNumberForSync(*device_class, *type);
    page->Client().SetLighting(synced, false);
  }
}

void CMainWnd::OnGameMessage(GameMessage message, int wparam, int lparam) {
  qCInfo(lcVorlin) << "game message" << static_cast<int>(message) << wparam << lparam;
  if (!awake_ || shut_down_) return;
  if (DevicePage* page = SelectedPage(); page && wparam >= 0 && wparam <= 2) {
    LightSettings settings = page->Client().Lighting();
    if (wparam == 0) {
      // Remembered for the return after the game's effect.
      settings.old_mode = (settings.mode == 0 || settings.mode > 20) ? 1 : settings.mode;
    }
    settings.mode = static_cast<uint8_t>(lparam & 0xFF);
    page->Client().SetLighting(settings, true);
  }
  if (window_) SetTimer(window_.get(), kGameLightingTimer, kGameLightingRestoreMs);
}

void CMainWnd::RestoreGameLighting() {
  DevicePage* page = SelectedPage();
  if (!page) return;
  LightSettings settings = page->Client().Lighting();
  settings.mode = settings.old_mode;
  page->Client().SetLighting(settings, true);
}

}  // namespace vorlin
