#pragma once

// What the lighting panel's handlers change: the device of the selected page. The device keeps
// the light words and the audio light settings, stores them into its profile and sends them to
// the device; the panel only shows them.

#include <cstdint>

#include <QSize>

#include "profiles/light_records.h"

namespace vorlin {

class LightingTarget {
 public:
  virtual ~LightingTarget() = default;

  virtual LightWords GetLightWords() const = 0;
  virtual void SetLightWords(uint32_t word0, uint32_t word1, uint32_t word2, uint16_t word3) = 0;
  virtual AudioLightSettings GetAudioLightSettings() const = 0;
  virtual void SetAudioLightSettings(const AudioLightSettings& settings) = 0;
  // Writes the device's current profile entry into its document.
  virtual void SaveProfile() = 0;
  // Takes the profile's light settings into the device's lighting state.
  virtual int ApplyLighting() = 0;
  // Sends the settings record to the device (profile, two values the device kinds use, and the
  // screen size).
  virtual int WriteParamRecord(int profile, int value1, int value2, int width, int height) = 0;
  // The device leaves the synchronised lighting mode (its own effect runs again).
  virtual void ClearLightingHold() = 0;
};

// The size of the screen the window is on, as the settings record carries it.
QSize ScreenSizeForRecords();

}  // namespace vorlin
