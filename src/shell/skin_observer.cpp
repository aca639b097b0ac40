#include "shell/skin_observer.h"

#include <algorithm>

namespace vorlin {

SkinObserver& SkinObserver::Instance() {
  static SkinObserver observer;
  return observer;
}

void SkinObserver::AddReceiver(SkinChangedReceiver* receiver) {
  if (receiver && std::find(receivers_.begin(), receivers_.end(), receiver) == receivers_.end()) {
    receivers_.push_back(receiver);
  }
}

void SkinObserver::RemoveReceiver(SkinChangedReceiver* receiver) {
  std::erase(receivers_, receiver);
}

void SkinObserver::Notify(const SkinChangedParam& param) const {
  // A receiver may unregister itself (or another) while being told; walk a copy.
  const std::vector<SkinChangedReceiver*> receivers = receivers_;
  for (SkinChangedReceiver* receiver : receivers) {
    if (std::find(receivers_.begin(), receivers_.end(), receiver) != receivers_.end()) {
      receiver->OnSkinChanged(param);
    }
  }
}

}  // namespace vorlin
