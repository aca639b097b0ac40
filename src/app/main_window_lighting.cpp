// The main window's side of lighting: the synchronised mode over every connected device, and the
// game lighting that other programs ask for over the session bus.

#include <QWidget>

#include "app/main_window.h"
#include "devices/device_option.h"
#include "devices/usb_device.h"
#include "hid/device_link.h"
#include "lighting/lighting_target.h"
#include "lighting_steps/sync_lighting.h"
#include "platform/log.h"
#include "ui/control_timers.h"

namespace vorlin {

namespace {

// The words with another effect number (byte 0 of word 0).
LightWords WithEffect(LightWords words, uint8_t effect) {
  words.word0 = (words.word0 & 0xFFFFFF00u) | effect;
  return words;
}

}  // namespace

CHalvexUSBDevice* CMainWnd::SelectedDevice() const {
  for (CDeviceOptionUI* option : Options()) {
    if (option->Shown() && option->IsSelected()) return option->Device();
  }
  return nullptr;
}

void CMainWnd::StoreLightWords(CHalvexUSBDevice& device, const LightWords& words) {
  const QSize screen = ScreenSizeForRecords();
  device.SetLightWords(words.word0, words.word1, words.word2, words.word3);
  device.SaveProfile();
  device.ApplyLighting();
  device.WriteParamRecord(0, 0, 1, screen.width(), screen.height());
}

void CMainWnd::SyncLighting() {
  CHalvexUSBDevice* selected = SelectedDevice();
  if (!selected) return;
  const LightWords words = selected->GetLightWords();
  const LightSettings settings = LightSettingsFromWords(words);
  const std::optional<SyncDeviceClass> selected_class =
      SyncDeviceClassForKind(selected->Key().kind);
  if (!selected_class) return;
  const std::optional<SyncType> type = SyncTypeForEffect(*selected_class, settings.mode);
  if (!type) return;  // the effect has no common form: nothing changes
  lighting_sync_.Start({*type, settings.brightness, settings.speed, settings.direction,
                        settings.multi_color != 0,
                        Rgb{settings.red, settings.green, settings.blue}});
  for (const auto* list : {&keyboards_, &mice_, &pads_, &headsets_}) {
    for (CHalvexUSBDevice* device : *list) {
      if (!device->LinkOpen()) continue;
      const std::optional<SyncDeviceClass> device_class = SyncDeviceClassForKind(device->Key().kind);
      if (!device_class) continue;
      device->Link().lightingHold.store(true);
      StoreLightWords(*device, WithEffect(words, EffectNumberForSync(*device_class, *type)));
    }
  }
}

void CMainWnd::OnGameMessage(GameMessage message, int wparam, int lparam) {
  qCInfo(lcVorlin) << "game message" << static_cast<int>(message) << wparam << lparam;
  if (!awake_ || shut_down_) return;
  if (CHalvexUSBDevice* device = SelectedDevice(); device && wparam >= 0 && wparam <= 2) {
    device->ClearLightingHold();
    LightWords words = device->GetLightWords();
    LightSettings settings = LightSettingsFromWords(words);
    if (wparam == 0) {
      // Remembered for the return after the game's effect.
      settings.old_mode = (settings.mode == 0 || settings.mode > 20) ? 1 : settings.mode;
    }
    settings.mode = static_cast<uint8_t>(lparam & 0xFF);
    words = LightSettingsToWords(settings);
    device->ShowLightWords(words);
    StoreLightWords(*device, words);
  }
  if (window_) SetTimer(window_.get(), kGameLightingTimer, kGameLightingRestoreMs);
}

void CMainWnd::RestoreGameLighting() {
  CHalvexUSBDevice* device = SelectedDevice();
  if (!device) return;
  device->ClearLightingHold();
  LightSettings settings = LightSettingsFromWords(device->GetLightWords());
  settings.mode = settings.old_mode;
  const LightWords words = LightSettingsToWords(settings);
  device->ShowLightWords(words);
  StoreLightWords(*device, words);
}

}  // namespace vorlin
