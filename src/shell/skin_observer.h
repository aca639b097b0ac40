#pragma once

#include <cstdint>
#include <vector>

#include <QString>

namespace vorlin {

// A change of the main window's background: a colour, or a picture (a path relative to the skin
// folder, or an absolute file path).
struct SkinChangedParam {
  bool is_color = false;
  uint32_t color = 0;  // 0xAARRGGBB
  QString image;
  bool operator==(const SkinChangedParam&) const = default;
};

class SkinChangedReceiver {
 public:
  virtual ~SkinChangedReceiver() = default;
  virtual void OnSkinChanged(const SkinChangedParam& param) = 0;
};

// Hands skin changes to every registered receiver, in registration order. UI thread only.
class SkinObserver {
 public:
  // The program's observer (the main window registers itself with it).
  static SkinObserver& Instance();

  void AddReceiver(SkinChangedReceiver* receiver);
  void RemoveReceiver(SkinChangedReceiver* receiver);
  void Notify(const SkinChangedParam& param) const;

 private:
  std::vector<SkinChangedReceiver*> receivers_;
};

}  // namespace vorlin
