#pragma once

// Input capture from the input devices themselves (evdev): every keyboard and mouse the program
// may read under /dev/input, whatever window has the focus.
//
// One reader thread per capture blocks in poll() on the device descriptors and a stop event and
// hands each event to the UI thread as a queued call. Keyboards are grabbed for the capture, so
// their keys reach no other program; mice are read without a grab and keep moving the pointer.
// Caps, Num and Scroll Lock still reach the desktop through the pass-through device, and their
// LEDs keep working (evdev_ops.h explains how).
//
// A grab never outlives its need:
//   - Stop releases it (the owner stops when the capturing control loses the focus or the
//     recording ends, and when it is destroyed);
//   - at exit, even a crash, the kernel drops the grab together with the descriptor;
//   - the reader itself releases it when no input has come for `grab_idle_release` (30 s unless
//     set otherwise), or when the UI thread has left delivered events unhandled that long (it hangs).
//     A capture forgotten by its owner, or a program that hangs while capturing, must not leave the
//     user without a keyboard; 30 s is longer than the pauses of someone recording a macro and short
//     enough that a user who lost the keyboard still finds it back on their own. Reading goes on
//     after the release; the keys then also reach other programs.
//
// Keys, buttons and their codes never reach the log: it holds device names and counts only.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

#include <QObject>

#include "input/evdev_devices.h"
#include "input/evdev_ops.h"
#include "input/input_source.h"

namespace vorlin {

struct EvdevSourceOptions {
  // Opens the devices of a capture; by default the keyboards and mice under /dev/input.
  std::function<InputDeviceScan(const CaptureRequest&)> open_devices;
  // The kernel calls that grab keyboards and make the pass-through device; by default the real ones.
  std::shared_ptr<EvdevOps> ops;
  // Runs a function on the UI thread; by default a queued call onto the thread that made the source.
  std::function<void(std::function<void()>)> post_to_owner;
  std::chrono::milliseconds grab_idle_release{30000};
  std::chrono::milliseconds stop_bound{500};
};

class EvdevInputSource : public InputSource {
 public:
  explicit EvdevInputSource(EvdevSourceOptions options = {});
  ~EvdevInputSource() override;
  EvdevInputSource(const EvdevInputSource&) = delete;
  EvdevInputSource& operator=(const EvdevInputSource&) = delete;

  // kUnavailable when no keyboard (or, for a mouse-only capture, no mouse) can be read.
  StartResult Start(const CaptureRequest& request, InputSink sink) override;
  void Stop() override;
  bool Running() const override { return run_ != nullptr; }
  bool LimitedToWindow() const override { return false; }
  std::string_view Name() const override { return "input devices"; }

  // Whether the capture holds the keyboards grabbed right now.
  bool KeyboardsGrabbed() const;

  enum class StopOutcome { kNotRunning, kEnded, kLate };
  // How the last Stop went: kLate when the reader needed longer than the bound (it has ended all
  // the same; it is waited for, never killed).
  StopOutcome LastStopOutcome() const { return last_stop_; }

  struct Run;

 private:
  EvdevSourceOptions options_;
  std::unique_ptr<QObject> owner_context_;  // the target of the default queued calls
  std::unique_ptr<Run> run_;
  StopOutcome last_stop_ = StopOutcome::kNotRunning;
};

}  // namespace vorlin
