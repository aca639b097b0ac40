#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace vorlin {

// A document that could not be written, and why.
struct DocumentWriteFailure {
  std::filesystem::path path;
  std::error_code cause;
};

// Tells whoever listens (the main window) that documents could not be stored, so that a run
// whose settings cannot be kept (a folder where a document should be, a full disk, a read-only
// folder) does not pass with a log line only. Every document write reports its outcome here.
//
// Each cause (a path with a kind of error) is told once: a save repeated at every change would
// otherwise raise the same message again and again. A later successful write of that path clears
// its causes, so a new failure after it is told again. Writers keep trying at every save either
// way.
//
// Writes happen on any thread: the reporter is thread-safe, and listeners are called on the
// writing thread. A listener must return quickly and must not wait for another thread (the
// window's listener queues the message for its own thread).
class DocumentWriteReporter {
 public:
  using Listener = std::function<void(const DocumentWriteFailure&)>;

  // Removes its listener when destroyed; once the destructor has returned the listener is not
  // running and is never called again.
  class Registration {
   public:
    Registration() = default;
    Registration(DocumentWriteReporter* reporter, std::uint64_t id)
        : reporter_(reporter), id_(id) {}
    Registration(Registration&& other) noexcept { *this = std::move(other); }
    Registration& operator=(Registration&& other) noexcept;
    ~Registration() { Reset(); }
    void Reset();

   private:
    DocumentWriteReporter* reporter_ = nullptr;
    std::uint64_t id_ = 0;
  };

  // The reporter every document write of the program reports to.
  static DocumentWriteReporter& Instance();

  [[nodiscard]] Registration Listen(Listener listener);

  // A write of `path` failed with `cause`; listeners hear of it unless this cause has been told
  // since the path's last successful write.
  void ReportFailure(const std::filesystem::path& path, std::error_code cause);
  // A write of `path` succeeded: its causes are forgotten.
  void ReportSuccess(const std::filesystem::path& path);

 private:
  void Remove(std::uint64_t id);

  std::mutex state_mutex_;
  // Causes told since each path's last successful write.
  std::map<std::string, std::set<std::error_code>> told_;
  // Held while listeners run, so that removing one waits for a call in progress. Recursive: a
  // listener that itself writes a document must not deadlock.
  std::recursive_mutex listener_mutex_;
  std::vector<std::pair<std::uint64_t, Listener>> listeners_;
  std::uint64_t next_id_ = 1;
};

}  // namespace vorlin
