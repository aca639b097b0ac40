#include "profiles/macro_events.h"

#include <algorithm>
#include <cctype>

#include "profiles/json_access.h"

namespace vorlin {
namespace {

constexpr char kAction[] = "Action";
constexpr char kButton[] = "Button";
constexpr char kType[] = "Type";
constexpr char kDelay[] = "Delay";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The digits of `text` as a number held at `limit`; nothing when anything else is in it.
std::optional<uint64_t> Digits(std::string_view text, uint64_t limit) {
  uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - '0'), limit + 1);
  }
  return std::min(value, limit);
}

}  // namespace

uint16_t MacroDelayOf(const Json::Value& value) {
  if (value.isString()) {
    const std::optional<uint16_t> delay = ParseDelayText(value.asString());
    return delay.value_or(0);
  }
  if (value.isIntegral() || value.isDouble()) {
    const double number = value.asDouble();
    if (!(number > 0)) return 0;  // negative or not a number
    return number >= kMaxMacroDelay ? kMaxMacroDelay : static_cast<uint16_t>(number);
  }
  return 0;
}

namespace {

MacroEvent Event(bool down, uint8_t button, uint8_t type) {
  MacroEvent event;
  event.down = down;
  event.button = button;
  event.type = type;
  return event;
}

}  // namespace

bool IsDownAction(const Json::Value& action) {
  if (!action.isString()) return false;
  const std::string text = action.asString();
  static constexpr char kDownText[] = "down";
  if (text.size() != 4) return false;
  for (size_t i = 0; i < 4; ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != kDownText[i]) return false;
  }
  return true;
}

std::optional<MacroEvent> ParseMacroEvent(const Json::Value& object) {
  if (!object.isObject()) return std::nullopt;
  const std::optional<int> button = AsInt(Member(object, kButton));
  const std::optional<int> type = AsInt(Member(object, kType));
  if (!button || *button < 0 || *button > 255) return std::nullopt;
  if (!type || *type < 0 || *type > 127) return std::nullopt;
  MacroEvent event;
  const Json::Value& action = Member(object, kAction);
  event.down = IsDownAction(action);
  event.button = static_cast<uint8_t>(*button);
  event.type = static_cast<uint8_t>(*type);
  event.delay = MacroDelayOf(Member(object, kDelay));
  return event;
}

Json::Value MacroEventToJson(const MacroEvent& event) {
  Json::Value object(Json::objectValue);
  object[kAction] = event.down ? "down" : "up";
  object[kButton] = static_cast<int>(event.button);
  object[kType] = static_cast<int>(event.type);
  object[kDelay] = std::to_string(event.delay);
  return object;
}

std::vector<MacroEvent> ParseMacroEvents(const Json::Value& events) {
  std::vector<MacroEvent> parsed;
  if (!events.isArray()) return parsed;
  for (const Json::Value& element : events) {
    if (std::optional<MacroEvent> event = ParseMacroEvent(element)) parsed.push_back(*event);
  }
  return parsed;
}

Json::Value MacroEventsToJson(const std::vector<MacroEvent>& events) {
  Json::Value array(Json::arrayValue);
  for (const MacroEvent& event : events) array.append(MacroEventToJson(event));
  return array;
}

std::optional<uint16_t> ParseDelayText(std::string_view text) {
  const std::optional<uint64_t> value = Digits(Trimmed(text), kMaxMacroDelay);
  if (!value) return std::nullopt;
  return static_cast<uint16_t>(*value);
}

uint16_t DelayOfInterval(uint64_t milliseconds) {
  return static_cast<uint16_t>(std::min<uint64_t>(milliseconds, kMaxMacroDelay));
}

FixedDelay ParseFixedDelay(std::string_view text) {
  // The leading digits count, as a decimal reading of the edit would take them.
  text = Trimmed(text);
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  const uint64_t value = Digits(text.substr(0, digits), kMaxMacroDelay).value_or(0);
  FixedDelay fixed;
  fixed.raised = value < kMinFixedDelay;
  fixed.value = static_cast<uint16_t>(fixed.raised ? kMinFixedDelay : value);
  return fixed;
}

bool MoveSelectedEvent(MacroEventList& list, EventMove move) {
  if (!list.HasSelection()) return false;
  const int from = list.selected;
  const int last = list.Count() - 1;
  int to = from;
  switch (move) {
    case EventMove::kUp:
      to = from - 1;
      break;
    case EventMove::kDown:
      to = from + 1;
      break;
    case EventMove::kTop:
      to = 0;
      break;
    case EventMove::kBottom:
      to = last;
      break;
  }
  if (to < 0 || to > last || to == from) return false;
  auto& events = list.events;
  if (to < from) {
    std::rotate(events.begin() + to, events.begin() + from, events.begin() + from + 1);
  } else {
    std::rotate(events.begin() + from, events.begin() + from + 1, events.begin() + to + 1);
  }
  list.selected = to;
  return true;
}

bool DeleteSelectedEvent(MacroEventList& list) {
  if (!list.HasSelection()) return false;
  list.events.erase(list.events.begin() + list.selected);
  if (list.selected >= list.Count()) list.selected = list.Count() - 1;
  return true;
}

bool DeleteAllEvents(MacroEventList& list) {
  if (list.events.empty()) return false;
  list.events.clear();
  list.selected = -1;
  return true;
}

bool InsertEventsAfterSelection(MacroEventList& list, const std::vector<MacroEvent>& events,
                                uint16_t delay) {
  if (events.empty() || list.Count() + static_cast<int>(events.size()) > kMaxMacroEvents)
    return false;
  int at = list.events.empty() ? 0 : (list.HasSelection() ? list.selected : 0) + 1;
  for (MacroEvent event : events) {
    event.delay = delay;
    list.events.insert(list.events.begin() + at, event);
    list.selected = at++;
  }
  return true;
}

std::optional<std::vector<MacroEvent>> MouseMenuEvents(std::string_view item) {
  struct Button {
    std::string_view name;
    uint8_t bit;
  };
  static constexpr Button kButtons[] = {{"left", kMacroLeft},
                                        {"middle", kMacroMiddle},
                                        {"right", kMacroRight},
                                        {"forward", kMacroForward},
                                        {"back", kMacroBack}};
  for (const Button& button : kButtons) {
    if (item.size() <= button.name.size() + 1 ||
        item.substr(0, button.name.size()) != button.name || item[button.name.size()] != '_')
      continue;
    const std::string_view what = item.substr(button.name.size() + 1);
    const MacroEvent press = Event(true, button.bit, kMacroMouseButton);
    const MacroEvent release = Event(false, button.bit, kMacroMouseButton);
    if (what == "down") return std::vector<MacroEvent>{press};
    if (what == "up") return std::vector<MacroEvent>{release};
    if (what == "click") return std::vector<MacroEvent>{press, release};
    return std::nullopt;
  }
  return std::nullopt;
}

MacroEvent PointerMove(MoveDirection direction, int distance) {
  const uint8_t counts = static_cast<uint8_t>(std::clamp(distance, 0, 255));
  switch (direction) {
    case MoveDirection::kLeft:
      return Event(true, counts, kMacroMoveX);
    case MoveDirection::kRight:
      return Event(false, counts, kMacroMoveX);
    case MoveDirection::kUp:
      return Event(true, counts, kMacroMoveY);
    case MoveDirection::kDown:
      return Event(false, counts, kMacroMoveY);
  }
  return Event(true, counts, kMacroMoveX);
}

}  // namespace vorlin
