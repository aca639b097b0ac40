#include "profiles/document_write_reporter.h"

#include <algorithm>

#include "platform/log.h"

namespace vorlin {

DocumentWriteReporter::Registration& DocumentWriteReporter::Registration::operator=(
    Registration&& other) noexcept {
  if (this != &other) {
    Reset();
    reporter_ = other.reporter_;
    id_ = other.id_;
    other.reporter_ = nullptr;
  }
  return *this;
}

void DocumentWriteReporter::Registration::Reset() {
  if (reporter_) reporter_->Remove(id_);
  reporter_ = nullptr;
}

DocumentWriteReporter& DocumentWriteReporter::Instance() {
  static DocumentWriteReporter reporter;
  return reporter;
}

DocumentWriteReporter::Registration DocumentWriteReporter::Listen(Listener listener) {
  std::lock_guard lock(listener_mutex_);
  const std::uint64_t id = next_id_++;
  listeners_.emplace_back(id, std::move(listener));
  return Registration(this, id);
}

void DocumentWriteReporter::Remove(std::uint64_t id) {
  std::lock_guard lock(listener_mutex_);
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void DocumentWriteReporter::ReportFailure(const std::filesystem::path& path,
                                          std::error_code cause) {
  {
    std::lock_guard lock(state_mutex_);
    if (!told_[path.string()].insert(cause).second) return;
  }
  qCWarning(lcVorlin) << "document not stored:" << path.c_str() << cause.message().c_str();
  std::lock_guard lock(listener_mutex_);
  // A copy: a listener may add or remove listeners.
  const std::vector<std::pair<std::uint64_t, Listener>> listeners = listeners_;
  const DocumentWriteFailure failure{path, cause};
  for (const auto& entry : listeners) {
    if (entry.second) entry.second(failure);
  }
}

void DocumentWriteReporter::ReportSuccess(const std::filesystem::path& path) {
  std::lock_guard lock(state_mutex_);
  // Most writes succeed with nothing told: no allocation then.
  if (told_.empty()) return;
  told_.erase(path.string());
}

}  // namespace vorlin
