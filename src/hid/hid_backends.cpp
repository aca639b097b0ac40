#include <algorithm>
#include <mutex>

#include "hid/hid_backend.h"

namespace vorlin {
namespace {
std::mutex& RegistryMutex() {
  static std::mutex m;
  return m;
}
std::vector<std::shared_ptr<HidBackend>>& Registry() {
  static std::vector<std::shared_ptr<HidBackend>> backends;
  return backends;
}
}  // namespace

void HidBackends::Add(std::shared_ptr<HidBackend> backend) {
  std::lock_guard lock(RegistryMutex());
  auto& list = Registry();
  if (std::find(list.begin(), list.end(), backend) == list.end()) list.push_back(std::move(backend));
}

void HidBackends::Remove(const std::shared_ptr<HidBackend>& backend) {
  std::lock_guard lock(RegistryMutex());
  auto& list = Registry();
  list.erase(std::remove(list.begin(), list.end(), backend), list.end());
}

void HidBackends::Clear() {
  std::lock_guard lock(RegistryMutex());
  Registry().clear();
}

std::vector<std::shared_ptr<HidBackend>> HidBackends::All() {
  std::lock_guard lock(RegistryMutex());
  return Registry();
}

std::shared_ptr<HidBackend> HidBackends::ForPath(std::string_view path) {
  const auto colon = path.find(':');
  if (colon == std::string_view::npos) return nullptr;
  const std::string_view scheme = path.substr(0, colon);
  std::lock_guard lock(RegistryMutex());
  for (const auto& b : Registry())
    if (b->Scheme() == scheme) return b;
  return nullptr;
}

}  // namespace vorlin
