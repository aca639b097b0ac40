#pragma once

namespace vorlin {

// The mark state of one key of a device picture, as the mark operations see it (key_marks.h).
// Key buttons implement it; the operations need nothing else, so they run without a window.
class KeyMarkTarget {
 public:
  virtual ~KeyMarkTarget() = default;
  virtual bool IsSetMarkHidden() const = 0;
  virtual bool IsUnsetMarkHidden() const = 0;
  virtual bool IsMarked() const = 0;
  virtual void SetSetMarkHidden(bool hidden) = 0;
  virtual void SetUnsetMarkHidden(bool hidden) = 0;
  virtual void SetMarked(bool marked) = 0;
};

}  // namespace vorlin
