#pragma once

// What the macro panel needs from the device page it sits on. The page owns the input capture
// (CDeviceHook), the device, its profile and the dialogs; the panel keeps the macros.

#include <functional>
#include <string>
#include <vector>

#include <QString>

#include "input/device_hook.h"

namespace vorlin {

class MacroHost {
 public:
  using CaptureCallback = std::function<void(const HookEvent&)>;

  virtual ~MacroHost() = default;

  // Starts input capture in hook mode `mode` (4 append, 8 before, 16 after, 32 replace) with keys
  // and mouse buttons, every event handed to `callback` on the UI thread until StopCapture;
  // replaces a running capture. False when no capture can run.
  virtual bool StartCapture(int mode, CaptureCallback callback) = 0;
  virtual void StopCapture() = 0;

  // The current profile's document; the page renumbers its keys itself (MacroRemoved).
  virtual std::string CurrentProfileDocument() = 0;
  // Whether a key of the current profile plays macro `number` (function types 0x70, 0x71).
  virtual bool CurrentKeysUseMacro(int number) = 0;
  // Macro `number` is gone: the page renumbers the current profile's macro calls
  // (RenumberMacroCalls), stores the keys and writes them to the device.
  virtual void MacroRemoved(int number) = 0;
  // The macro names in list order, after any new, rename, delete or import (the key assignment
  // panel's macro list).
  virtual void MacroListChanged(const std::vector<std::string>& names) = 0;
  // The events of macro `number` were saved: when a key plays it, the device's macros are out of
  // date until the page writes them.
  virtual void MacroEventsChanged(int number) = 0;

  // A notice (`question` false) or an OK/Cancel question with a language text key; 1 when
  // confirmed.
  virtual int ShowMessage(const QString& text_key, bool question) = 0;
  // The open and save dialogs with `filter` ("Macro Files(*.mac)"); empty when cancelled.
  virtual QString OpenFile(const QString& filter) = 0;
  virtual QString SaveFile(const QString& filter) = 0;
};

}  // namespace vorlin
