#include "profiles/atomic_file_write.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <string>

#include "platform/log.h"
#include "platform/scoped_fd.h"
#include "profiles/document_write_reporter.h"

namespace vorlin {
namespace {

bool WriteAll(int fd, std::string_view text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// A name beside the file that no other writer picks: hidden, named after the file, the process,
// a per-process random salt and a counter.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  static const unsigned salt = std::random_device{}();
  const std::string name = "." + path.filename().string() + ".tmp-" + std::to_string(::getpid()) +
                           "-" + std::to_string(salt) + "-" + std::to_string(counter.fetch_add(1));
  return path.parent_path() / name;
}

}  // namespace

void SyncFolder(const std::filesystem::path& folder) {
  const std::string name = folder.empty() ? std::string(".") : folder.string();
  ScopedFd dir(::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

namespace {

// WriteTemporaryBeside, leaving the temporary file open in `*held_fd`: the file is locked (flock)
// from its creation until that descriptor is closed, which tells the start-up sweep of stale
// temporary files (RemoveStaleTemporaries) that a running writer still needs it.
std::optional<std::filesystem::path> WriteLockedTemporary(const std::filesystem::path& path,
                                                          std::string_view contents,
                                                          std::error_code* error, int* held_fd) {
  const auto fail = [error](int code) {
    if (error) *error = std::error_code(code, std::generic_category());
    return std::nullopt;
  };
  if (path.filename().empty()) return fail(EINVAL);
  const std::filesystem::path temporary = TemporaryPathFor(path);
  ScopedFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.get() < 0) {
    const int code = errno;
    qCWarning(lcVorlin) << "cannot create" << temporary.c_str() << std::strerror(code);
    return fail(code);
  }
  // Nobody else knows the new name yet, so the lock is free; a file system without locks still
  // gets the document written (the sweep then goes by the file's age alone).
  ::flock(fd.get(), LOCK_EX | LOCK_NB);
  // A replaced file keeps its permissions, except that its owner can always read and write it:
  // a file locked out by hand would otherwise lock the program out of every later write too.
  struct stat old_info {};
  if (::stat(path.c_str(), &old_info) == 0 && S_ISREG(old_info.st_mode))
    ::fchmod(fd.get(), (old_info.st_mode & 07777) | S_IRUSR | S_IWUSR);
  if (!WriteAll(fd.get(), contents) || ::fsync(fd.get()) != 0) {
    const int code = errno;
    qCWarning(lcVorlin) << "cannot write" << temporary.c_str() << std::strerror(code);
    ::unlink(temporary.c_str());
    return fail(code);
  }
  *held_fd = fd.release();
  return temporary;
}

}  // namespace

std::optional<std::filesystem::path> WriteTemporaryBeside(const std::filesystem::path& path,
                                                          std::string_view contents,
                                                          std::error_code* error) {
  int fd = -1;
  std::optional<std::filesystem::path> temporary = WriteLockedTemporary(path, contents, error, &fd);
  if (temporary && !ScopedFd(fd).Close()) {
    const int code = errno;
    qCWarning(lcVorlin) << "cannot write" << temporary->c_str() << std::strerror(code);
    ::unlink(temporary->c_str());
    if (error) *error = std::error_code(code, std::generic_category());
    return std::nullopt;
  }
  return temporary;
}

bool ReplaceWithTemporary(const std::filesystem::path& temporary, const std::filesystem::path& path,
                          std::error_code* error) {
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int code = errno;
    qCWarning(lcVorlin) << "cannot replace" << path.c_str() << std::strerror(code);
    ::unlink(temporary.c_str());
    if (error) *error = std::error_code(code, std::generic_category());
    return false;
  }
  SyncFolder(path.parent_path());
  return true;
}

namespace {

bool HoldsExactly(const std::filesystem::path& path, std::string_view contents) {
  ScopedFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<size_t>(info.st_size) != contents.size()) {
    return false;
  }
  std::string held(contents.size(), '\0');
  size_t done = 0;
  while (done < held.size()) {
    const ssize_t n = ::read(fd.get(), held.data() + done, held.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return held == contents;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents) {
  // A file that already holds these bytes is left alone: the fewer writes, the fewer moments at
  // which a crash or a full disk can touch the user's documents.
  DocumentWriteReporter& reporter = DocumentWriteReporter::Instance();
  if (HoldsExactly(path, contents)) {
    reporter.ReportSuccess(path);
    return true;
  }
  std::error_code error;
  int fd = -1;
  const std::optional<std::filesystem::path> temporary =
      WriteLockedTemporary(path, contents, &error, &fd);
  // Held (and so locked) until the temporary file has become the document. Its contents are
  // already on disk (fsync), so closing it afterwards cannot lose them.
  const ScopedFd held(fd);
  if (temporary && ReplaceWithTemporary(*temporary, path, &error)) {
    reporter.ReportSuccess(path);
    return true;
  }
  reporter.ReportFailure(path, error);
  return false;
}

}  // namespace vorlin
