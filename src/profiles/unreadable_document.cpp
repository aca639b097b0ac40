#include "profiles/unreadable_document.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/log.h"
#include "platform/scoped_fd.h"
#include "profiles/atomic_file_write.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"

namespace vorlin {
namespace {

constexpr int kMaxAttempts = 100;

// A regular file with at least one byte (readable or not).
bool HoldsBytes(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error) || error) return false;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  return !error && size > 0;
}

enum class CopyResult { kCopied, kNameTaken, kFailed };

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Copies the bytes of `from` into the new file `to` (never over an existing one) and flushes
// them, so the copy is on disk before the document is replaced.
CopyResult CopyTo(const std::filesystem::path& from, const std::filesystem::path& to) {
  ScopedFd source(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (source.get() < 0 || ::fstat(source.get(), &info) != 0 || !S_ISREG(info.st_mode))
    return CopyResult::kFailed;
  ScopedFd target(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 0777));
  if (target.get() < 0) return errno == EEXIST ? CopyResult::kNameTaken : CopyResult::kFailed;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(source.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) break;
    if (n < 0 || !WriteAll(target.get(), buffer, static_cast<size_t>(n))) {
      ::unlink(to.c_str());
      return CopyResult::kFailed;
    }
  }
  if (::fsync(target.get()) != 0 || !target.Close()) {
    ::unlink(to.c_str());
    return CopyResult::kFailed;
  }
  return CopyResult::kCopied;
}

}  // namespace

bool ReplacingLosesContent(const std::filesystem::path& path, const Json::Value& document,
                           Json::ArrayIndex device_index) {
  // A null document is a missing, empty, unreadable or unparsable file (or the text "null").
  if (document.isNull()) return HoldsBytes(path);
  if (!document.isObject()) return true;
  const Json::Value& devices = Member(document, "Device");
  if (devices.isNull()) return false;
  if (!devices.isArray()) return true;
  const Json::Value& element = Element(devices, device_index);
  return !element.isNull() && !element.isObject();
}

std::filesystem::path KeepUnreadableDocument(const std::filesystem::path& path,
                                             const std::string& stamp) {
  const std::string base = path.filename().string() + ".unreadable-" + stamp;
  for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
    const std::filesystem::path kept =
        path.parent_path() / (attempt == 1 ? base : base + "-" + std::to_string(attempt));
    switch (CopyTo(path, kept)) {
      case CopyResult::kCopied:
        SyncFolder(path.parent_path());
        qCWarning(lcVorlin) << "kept a copy of the unreadable document" << path.c_str() << "as"
                            << kept.c_str();
        return kept;
      case CopyResult::kNameTaken:
        continue;
      case CopyResult::kFailed:
        break;
    }
    // The file cannot be copied (no permission to read it, no space): move it aside instead.
    // The name was free a moment ago; one object works on a folder at a time.
    std::error_code error;
    if (std::filesystem::exists(kept, error)) continue;
    if (::rename(path.c_str(), kept.c_str()) == 0) {
      SyncFolder(path.parent_path());
      qCWarning(lcVorlin) << "moved the unreadable document" << path.c_str() << "to"
                          << kept.c_str();
      return kept;
    }
    qCWarning(lcVorlin) << "cannot keep the unreadable document" << path.c_str() << ":"
                        << std::strerror(errno);
    return {};
  }
  qCWarning(lcVorlin) << "cannot keep the unreadable document" << path.c_str()
                      << ": every name is taken";
  return {};
}

std::filesystem::path KeepUnreadableDocument(const std::filesystem::path& path) {
  return KeepUnreadableDocument(path, JsonFileIo::MakeTimeStampId());
}

}  // namespace vorlin
