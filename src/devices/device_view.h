#pragma once

// What a page shows of its device: one copy of the device's state, made by the device object on
// its own thread after every change and handed to the page (DeviceClient) by value. The page never
// reads the device object itself; it shows the last view and sends its changes as commands.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QMetaType>

#include "devices/mouse_power_view.h"
#include "profiles/device_settings.h"
#include "profiles/key_assignment.h"
#include "profiles/light_name_lists.h"
#include "profiles/light_records.h"

namespace vorlin {

// How the device is reached now.
enum class ConnectionKind { kNone, kCable, kReceiver };

struct LightingView {
  LightSettings light;
  AudioLightSettings audio;
  // The effect list: the built-in effects of the device's name list, then the custom effects of
  // the light configuration (effect number = built-in count + position).
  std::vector<LightModeName> builtinModes;
  std::vector<std::string> customModes;
};

struct MouseView {
  std::array<uint8_t, 34> deviceInfo{};  // all zero until the mouse has been read
  std::vector<KeyAssignmentPair> keyList;
  std::vector<std::string> macroNames;
  std::vector<DpiStage> dpiStages;
  int currentDpiStage = 0;
  MouseSystemSettings system;
  // Key assignments that were stored but could not be written yet: the device writes them when
  // it can (after a reconnection) and the page offers to apply them.
  bool keysPending = false;
};

struct DeviceView {
  // How many of the page's commands the device had carried out when it made this view.
  uint64_t commandsDone = 0;
  ConnectionKind connection = ConnectionKind::kNone;
  // The device has been read since it was connected (its settings on the page are its own).
  bool deviceRead = false;
  std::string profileId;
  std::string profilePath;
  LightingView lighting;
  std::optional<MouseView> mouse;
  // The last status record read (devices with a battery panel), with its connection flag.
  std::optional<std::array<uint8_t, kPowerStatusSize>> status;
};

// What became of a change the user made: it reached the device, it is kept in the profile only
// (the device is not there), or writing it failed.
enum class ChangeOutcome { kWritten, kProfileOnly, kFailed };

// Why a write failed, as the user is told: the device refused it (an error status), answered
// wrongly (a reply to another request, or one that could not be used), did not answer, was
// unplugged while it was written, or what was to be written does not fit in it (macros).
enum class FailReason { kNone, kRefused, kWrongAnswer, kNoAnswer, kUnplugged, kDoesNotFit };

// The result of a user action that writes to the device.
struct DeviceReport {
  enum class Action {
    kLighting,
    kSettings,
    kProfile,
    kReset,
    kKeys,
    kRecoil,
  };
  Action action = Action::kLighting;
  ChangeOutcome outcome = ChangeOutcome::kWritten;
  // Why it failed (kNone unless `outcome` is kFailed).
  FailReason reason = FailReason::kNone;
  // Key assignments, profiles and resets: whether the key table reached the device (it may have
  // while the macros did not, and the other way round).
  bool keysWritten = false;
  // Macros that did not fit: the image is this many four-byte events too large (nothing written,
  // no key table either); -1 when the macros could not be written; 0 otherwise.
  int macroResult = 0;
};

}  // namespace vorlin

Q_DECLARE_METATYPE(vorlin::DeviceView)
Q_DECLARE_METATYPE(vorlin::DeviceReport)
