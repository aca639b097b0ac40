#include "profiles/stale_temporaries.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <system_error>

#include "platform/log.h"
#include "platform/scoped_fd.h"

namespace vorlin {
namespace {

bool IsNumber(std::string_view text) {
  if (text.empty() || text.size() > 20) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Removes `path` when it is a stale temporary file; whether it did.
bool RemoveIfStale(const std::filesystem::path& path, std::filesystem::file_time_type started) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
  if (error || !std::filesystem::is_regular_file(status)) return false;
  if (std::filesystem::last_write_time(path, error) >= started || error) return false;
  ScopedFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return false;
  // A writer holds the lock from creating the file until it has become the document; one that
  // was killed holds nothing.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return false;
  if (::unlink(path.c_str()) != 0) return false;
  qCInfo(lcVorlin) << "removed a temporary file left by an interrupted save:" << path.c_str();
  return true;
}

int RemoveIn(const std::filesystem::path& folder, std::filesystem::file_time_type started,
             int depth) {
  int removed = 0;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::filesystem::path& path = it->path();
    std::error_code type_error;
    if (depth > 0 && it->is_directory(type_error) && !it->is_symlink(type_error)) {
      removed += RemoveIn(path, started, depth - 1);
    } else if (IsOwnTemporaryName(path.filename().string()) && RemoveIfStale(path, started)) {
      ++removed;
    }
  }
  return removed;
}

}  // namespace

bool IsOwnTemporaryName(std::string_view name) {
  if (name.size() < 2 || name[0] != '.') return false;
  const size_t marker = name.rfind(".tmp-");
  if (marker == std::string_view::npos || marker < 2) return false;
  std::string_view numbers = name.substr(marker + 5);
  for (int part = 0; part < 3; ++part) {
    const size_t dash = numbers.find('-');
    const bool last = part == 2;
    if ((dash == std::string_view::npos) != last) return false;
    if (!IsNumber(last ? numbers : numbers.substr(0, dash))) return false;
    if (!last) numbers.remove_prefix(dash + 1);
  }
  return true;
}

int RemoveStaleTemporaries(const std::filesystem::path& folder,
                           std::filesystem::file_time_type started) {
  return RemoveIn(folder, started, 1);
}

}  // namespace vorlin
