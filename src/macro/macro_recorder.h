#pragma once

// Recording a macro from captured input: turns the key and mouse button events of the input
// capture (HookEvent) into macro events and places them in the event list being edited.
//
// A recording runs in one of four placements, the capture's hook mode: append (4), insert
// before the selected event (8), insert after it (16), or replace the selected event (32). Each
// recording session has a delay mode:
//   record time  the delay after an event is the time until the next event of the session
//                (the last event of a session keeps 0); longer pauses are held at 65535 ms;
//   constant     every recorded event gets the fixed delay;
//   ignore       every recorded event gets 0.
// Rows that were there before the session keep their delays.
//
// Repeats are recorded once: a key held down (auto-repeat) gives one press, and the same mouse
// message twice in a row is taken once. A left press or release inside the stop button is the
// click that ends the recording and is not recorded. Keys the keyboard key table does not know,
// other mouse messages and anything beyond kMaxMacroEvents are dropped.
//
// Pure logic: the caller gives the time of each event (a monotonic clock in milliseconds) and
// owns the capture.

#include <cstdint>
#include <optional>
#include <set>
#include <utility>

#include "input/device_hook.h"
#include "profiles/macro_events.h"

namespace vorlin {

enum class DelayMode { kRecordTime = 1, kConstant = 2, kIgnore = 3 };

enum class RecordPlacement { kAppend, kBefore, kAfter, kReplace };
int HookModeOfPlacement(RecordPlacement placement);

// A rectangle in screen coordinates, right and bottom edges excluded.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool Contains(int x, int y) const {
    return x >= left && y >= top && x < left + width && y < top + height;
  }
};

// The macro event of a captured event, before placement rules: nothing for input a macro cannot
// hold (a key not in the key table, a mouse message other than the five buttons).
std::optional<MacroEvent> MacroEventOfHookEvent(const HookEvent& event);

class MacroRecorder {
 public:
  enum class Result {
    kAdded,      // a row was placed (inserted or replaced); the list's selection is on it
    kRepeat,     // a held key or a repeated mouse message
    kStopClick,  // the click on the stop button
    kUnknown,    // not a recordable event, or not a recording message
    kFull,       // the list already holds kMaxMacroEvents rows
    kNoTarget,   // no event selected to insert at or replace, or the replacement is done
    kIdle,       // not recording
  };

  // Starts a session at time `now`. Insert and replace placements take the list's selected
  // event as their anchor.
  void Start(RecordPlacement placement, DelayMode mode, uint16_t fixed_delay, uint64_t now,
             const MacroEventList& list);
  void Stop();
  bool Recording() const { return recording_; }

  // Where the stop button is on the screen; clicks inside it are not recorded.
  void SetStopButton(std::optional<ScreenRect> rect) { stop_button_ = rect; }

  // Records one captured event that arrived at time `now` into `list`; `changed` receives the
  // rows whose contents changed other than the placed row (the row before it whose delay was
  // set), when given.
  Result Feed(const HookEvent& event, uint64_t now, MacroEventList& list,
              int* changed_row = nullptr);

 private:
  bool recording_ = false;
  RecordPlacement placement_ = RecordPlacement::kAppend;
  DelayMode mode_ = DelayMode::kRecordTime;
  uint16_t fixed_delay_ = kDefaultFixedDelay;
  uint64_t last_time_ = 0;
  bool recorded_ = false;  // an event has been placed in this session
  int cursor_ = -1;        // where the next inserted row goes, or the row to replace
  std::set<std::pair<uint32_t, bool>> held_keys_;
  uint32_t last_mouse_message_ = 0;
  std::optional<ScreenRect> stop_button_;
};

}  // namespace vorlin
