#pragma once

// What the panels of a device page ask of the page itself, whatever device it shows: telling the
// user something, the open and save dialogs, the colour window and the input capture. The page
// implements it once; panel tests use a stand-in.

#include <cstdint>
#include <functional>
#include <optional>

#include <QString>

#include "input/device_hook.h"

namespace vorlin {

inline constexpr int kNoMessageArgument = -1;

// A colour the user chose in the colour window.
struct ColourChoice {
  uint32_t argb = 0xFF000000u;
  bool multiColour = false;  // the multi-colour effect instead of one colour
};

class PageServices {
 public:
  virtual ~PageServices() = default;

  // A message box with the text of `text_key` (a "%d" in it takes `argument`, a "%1" the name of
  // the `object` it is about, e.g. the macro to delete): a notice, or a question when `question`,
  // titled and with buttons as MessageStyleFor(text_key) says. 1 when confirmed.
  virtual int ShowMessage(const QString& text_key, bool question,
                          std::optional<int> argument = std::nullopt,
                          const QString& object = QString()) = 0;
  // The open and save dialogs with `filter` (e.g. "Macro Files(*.mac)"); empty when cancelled.
  virtual QString OpenFile(const QString& filter) = 0;
  virtual QString SaveFile(const QString& filter) = 0;
  // The colour window starting from `current` (0xAARRGGBB); nullopt when closed without a choice.
  // Without `allow_multi_colour` the multi-colour choice is not offered as a result.
  virtual std::optional<ColourChoice> ChooseColour(uint32_t current, bool multi_colour,
                                                   bool allow_multi_colour) = 0;
  // The window's input capture (key capture, macro recording) in hook mode `mode`: keys and mouse
  // buttons, every event handed to `callback` on the UI thread until StopCapture; replaces a
  // running capture. False when no capture can run.
  virtual bool StartCapture(int mode, std::function<void(const HookEvent&)> callback) = 0;
  virtual void StopCapture() = 0;
  // Whether the running capture sees only this program's own window.
  virtual bool CaptureLimitedToWindow() const = 0;
};

}  // namespace vorlin
