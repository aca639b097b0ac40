#pragma once

// The events of a macro: what one event holds, its form in the macro files and in the event
// rows of the macro panel, the limits of a macro, and the edits of the event list (move, delete,
// insert) as plain functions over a list with a selection.
//
// An event object of a macro file:
//   { "Action": "down" | "up", "Button": 0-255, "Type": 0-127, "Delay": "<0-65535>" }
// "Delay" (milliseconds to wait after the event) is written as a decimal string; a JSON number
// is read too. Type 1 is a mouse button (button bit), 4 and 5 a pointer move on X and Y
// (distance in "Button"; "down" moves left or up), 9 a modifier key (modifier bit), 10 a
// keyboard key (HID keyboard usage). Types 2 and 3 are other mouse events, kept as they are.

#include <json/value.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlin {

inline constexpr int kMaxMacros = 50;
inline constexpr int kMaxMacroEvents = 250;
// Saving more than this many events warns that the macro is long (it is written all the same).
inline constexpr int kLongMacroEvents = 249;
inline constexpr int kMaxMacroDelay = 65535;
// The fixed delay of inserted events and of constant-time recording: 50 ms until the user sets
// another, never below 10 ms.
inline constexpr int kDefaultFixedDelay = 50;
inline constexpr int kMinFixedDelay = 10;
inline constexpr int kMacroFileVersion = 64;

enum MacroEventType : uint8_t {
  kMacroMouseButton = 1,
  kMacroMouseOther2 = 2,
  kMacroMouseOther3 = 3,
  kMacroMoveX = 4,
  kMacroMoveY = 5,
  kMacroModifier = 9,
  kMacroKey = 10,
};

// Button bits of a mouse button event.
enum MacroMouseBit : uint8_t {
  kMacroLeft = 0x01,
  kMacroRight = 0x02,
  kMacroMiddle = 0x04,
  kMacroBack = 0x08,
  kMacroForward = 0x10,
};

struct MacroEvent {
  bool down = true;
  uint8_t button = 0;
  uint8_t type = kMacroKey;
  uint16_t delay = 0;

  bool operator==(const MacroEvent&) const = default;
};

// An event object as a macro file holds it; nothing when it is not an object, or its "Button"
// or "Type" is missing or out of range (0-255, 0-127). "Action" other than "down" reads as "up";
// a delay beyond 65535 (or negative) is held at the nearest limit, a delay that is no number
// reads as 0.
std::optional<MacroEvent> ParseMacroEvent(const Json::Value& object);
// Whether an event's "Action" is a press: "down" in any case (hand-edited files say "Down" too;
// every reader and the device images agree on it).
bool IsDownAction(const Json::Value& action);
Json::Value MacroEventToJson(const MacroEvent& event);
// Every readable element of an "Events" array, in order (elements that are no event are passed
// over); nothing but an array gives no events.
std::vector<MacroEvent> ParseMacroEvents(const Json::Value& events);
Json::Value MacroEventsToJson(const std::vector<MacroEvent>& events);

// A delay as the user typed it: leading and trailing blanks ignored, digits only; the value held
// within 0..65535. Empty text is 0; text with anything but digits gives nothing.
std::optional<uint16_t> ParseDelayText(std::string_view text);
// An event's "Delay" (a number or its text): held within 0-65535, 0 when it is no number.
uint16_t MacroDelayOf(const Json::Value& value);
// A time span in milliseconds as a delay: held at 65535.
uint16_t DelayOfInterval(uint64_t milliseconds);

// The fixed delay typed into its edit: the decimal number (0 without one) held at 65535 and
// raised to kMinFixedDelay when below it; `raised` tells that the user must be told.
struct FixedDelay {
  uint16_t value = kDefaultFixedDelay;
  bool raised = false;
};
FixedDelay ParseFixedDelay(std::string_view text);

// The event list of the macro being edited and its selected row (-1 for none).
struct MacroEventList {
  std::vector<MacroEvent> events;
  int selected = -1;

  int Count() const { return static_cast<int>(events.size()); }
  bool HasSelection() const { return selected >= 0 && selected < Count(); }
  bool Full() const { return Count() >= kMaxMacroEvents; }
};

enum class EventMove { kUp, kDown, kTop, kBottom };
// Moves the selected event (which stays selected). False when nothing is selected or it cannot
// move that way.
bool MoveSelectedEvent(MacroEventList& list, EventMove move);
// Deletes the selected event; the row now in its place (or the new last row) is selected.
bool DeleteSelectedEvent(MacroEventList& list);
bool DeleteAllEvents(MacroEventList& list);

// Inserts `events` after the selected event (after the first when none is selected, at the
// start of an empty list), each with `delay`; the last one inserted is selected. Nothing is
// inserted when they do not all fit below kMaxMacroEvents, so a press is never kept without
// its release.
bool InsertEventsAfterSelection(MacroEventList& list, const std::vector<MacroEvent>& events,
                                uint16_t delay);

// The mouse button events of an insert-menu item ("left_down", "right_click", ...): one press,
// one release, or a press and then a release. Nothing for another name.
std::optional<std::vector<MacroEvent>> MouseMenuEvents(std::string_view item);

enum class MoveDirection { kLeft, kRight, kUp, kDown };
// A pointer move of `distance` counts (held within 0..255).
MacroEvent PointerMove(MoveDirection direction, int distance);

}  // namespace vorlin
