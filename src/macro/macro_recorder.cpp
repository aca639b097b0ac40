#include "macro/macro_recorder.h"

#include "input/key_name_table.h"
#include "input/keyboard_key_table.h"

namespace vorlin {
namespace {

bool IsRecordingMessage(HookMessage message) {
  switch (message) {
    case HookMessage::kKeyKbMacro:
    case HookMessage::kKeyMsMacro:
    case HookMessage::kKeyKbMacroSingle:
    case HookMessage::kKeyKbMacroPrevious:
    case HookMessage::kKeyKbMacroLater:
    case HookMessage::kKeyMsMacroSingle:
    case HookMessage::kKeyMsMacroPrevious:
    case HookMessage::kKeyMsMacroLater:
      return true;
    default:
      return false;
  }
}

bool IsLeftButtonMessage(uint32_t message) {
  return message == kWmLButtonDown || message == kWmLButtonUp;
}

std::optional<MacroEvent> KeyEvent(const HookEvent& event) {
  const bool down = event.wparam == kWmKeyDown || event.wparam == kWmSysKeyDown;
  if (!down && event.wparam != kWmKeyUp && event.wparam != kWmSysKeyUp) return std::nullopt;
  if (event.key.scan_code > 0xFF) return std::nullopt;
  const std::optional<int> row = FindKeyboardKeyRow(
      {static_cast<uint8_t>(event.key.scan_code), (event.key.flags & kKeyFlagExtended) != 0});
  if (!row || *row < 0 || *row >= static_cast<int>(kKeyNameTable.size())) return std::nullopt;
  const FunctionCode& code = kKeyNameTable[static_cast<size_t>(*row)].code;
  MacroEvent macro;
  macro.down = down;
  if (*row < kModifierRowCount) {
    macro.type = kMacroModifier;
    macro.button = code.second;
  } else {
    macro.type = kMacroKey;
    macro.button = code.third;
  }
  return macro;
}

std::optional<MacroEvent> MouseEvent(const HookEvent& event) {
  MacroEvent macro;
  macro.type = kMacroMouseButton;
  switch (event.wparam) {
    case kWmLButtonDown:
    case kWmLButtonUp:
      macro.button = kMacroLeft;
      break;
    case kWmRButtonDown:
    case kWmRButtonUp:
      macro.button = kMacroRight;
      break;
    case kWmMButtonDown:
    case kWmMButtonUp:
      macro.button = kMacroMiddle;
      break;
    case kWmXButtonDown:
    case kWmXButtonUp: {
      const uint16_t which = static_cast<uint16_t>(event.mouse.mouse_data >> 16);
      if (which == kXButtonForward) {
        macro.button = kMacroForward;
      } else if (which == kXButtonBack) {
        macro.button = kMacroBack;
      } else {
        return std::nullopt;
      }
      break;
    }
    default:
      return std::nullopt;
  }
  macro.down = event.wparam == kWmLButtonDown || event.wparam == kWmRButtonDown ||
               event.wparam == kWmMButtonDown || event.wparam == kWmXButtonDown;
  return macro;
}

}  // namespace

int HookModeOfPlacement(RecordPlacement placement) {
  switch (placement) {
    case RecordPlacement::kAppend:
      return kHookModeRecordAppend;
    case RecordPlacement::kBefore:
      return kHookModeRecordBefore;
    case RecordPlacement::kAfter:
      return kHookModeRecordAfter;
    case RecordPlacement::kReplace:
      return kHookModeRecordReplace;
  }
  return kHookModeRecordAppend;
}

std::optional<MacroEvent> MacroEventOfHookEvent(const HookEvent& event) {
  return event.keyboard ? KeyEvent(event) : MouseEvent(event);
}

void MacroRecorder::Start(RecordPlacement placement, DelayMode mode, uint16_t fixed_delay,
                          uint64_t now, const MacroEventList& list) {
  recording_ = true;
  placement_ = placement;
  mode_ = mode;
  fixed_delay_ = fixed_delay;
  last_time_ = now;
  recorded_ = false;
  held_keys_.clear();
  last_mouse_message_ = 0;
  switch (placement) {
    case RecordPlacement::kAppend:
      cursor_ = -1;
      break;
    case RecordPlacement::kBefore:
    case RecordPlacement::kReplace:
      cursor_ = list.HasSelection() ? list.selected : -1;
      break;
    case RecordPlacement::kAfter:
      cursor_ = list.HasSelection() ? list.selected + 1 : -1;
      break;
  }
}

void MacroRecorder::Stop() {
  recording_ = false;
  held_keys_.clear();
  last_mouse_message_ = 0;
}

MacroRecorder::Result MacroRecorder::Feed(const HookEvent& event, uint64_t now,
                                          MacroEventList& list, int* changed_row) {
  if (changed_row) *changed_row = -1;
  if (!recording_) return Result::kIdle;
  if (!IsRecordingMessage(event.message)) return Result::kUnknown;

  std::optional<MacroEvent> recorded = MacroEventOfHookEvent(event);
  if (!recorded) return Result::kUnknown;

  if (event.keyboard) {
    const std::pair<uint32_t, bool> key{event.key.scan_code,
                                        (event.key.flags & kKeyFlagExtended) != 0};
    if (recorded->down) {
      if (!held_keys_.insert(key).second) return Result::kRepeat;
    } else {
      held_keys_.erase(key);
    }
  } else {
    if (IsLeftButtonMessage(event.wparam) && stop_button_ && event.mouse.has_point &&
        stop_button_->Contains(event.mouse.x, event.mouse.y))
      return Result::kStopClick;
    if (event.wparam == last_mouse_message_) return Result::kRepeat;
    last_mouse_message_ = event.wparam;
  }

  // Replacing keeps the row's delay and takes one event only.
  if (placement_ == RecordPlacement::kReplace) {
    if (cursor_ < 0 || cursor_ >= list.Count()) return Result::kNoTarget;
    MacroEvent& row = list.events[static_cast<size_t>(cursor_)];
    recorded->delay = row.delay;
    row = *recorded;
    list.selected = cursor_;
    cursor_ = -1;
    recorded_ = true;
    return Result::kAdded;
  }

  if (list.Full()) return Result::kFull;
  int at = list.Count();
  if (placement_ != RecordPlacement::kAppend) {
    if (cursor_ < 0 || cursor_ > list.Count()) return Result::kNoTarget;
    at = cursor_++;
  }

  // The delay of the new row, and of the row recorded before it in this session.
  const uint16_t interval = DelayOfInterval(now >= last_time_ ? now - last_time_ : 0);
  last_time_ = now;
  std::optional<uint16_t> previous_delay;
  switch (mode_) {
    case DelayMode::kRecordTime:
      recorded->delay = 0;
      previous_delay = interval;
      break;
    case DelayMode::kConstant:
      recorded->delay = fixed_delay_;
      break;
    case DelayMode::kIgnore:
      recorded->delay = 0;
      previous_delay = 0;
      break;
  }
  list.events.insert(list.events.begin() + at, *recorded);
  list.selected = at;
  if (recorded_ && previous_delay && at > 0) {
    list.events[static_cast<size_t>(at - 1)].delay = *previous_delay;
    if (changed_row) *changed_row = at - 1;
  }
  recorded_ = true;
  return Result::kAdded;
}

}  // namespace vorlin
