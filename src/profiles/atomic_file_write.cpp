#include "profiles/atomic_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <string>

#include "platform/log.h"
#include "platform/scoped_fd.h"

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

std::optional<std::filesystem::path> WriteTemporaryBeside(const std::filesystem::path& path,
                                                          std::string_view contents) {
  if (path.filename().empty()) return std::nullopt;
  const std::filesystem::path temporary = TemporaryPathFor(path);
  ScopedFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.get() < 0) {
    qCWarning(lcVorlin) << "cannot create" << temporary.c_str() << std::strerror(errno);
    return std::nullopt;
  }
  // A replaced file keeps its permissions, except that its owner can always read and write it:
  // a file locked out by hand would otherwise lock the program out of every later write too.
  struct stat old_info {};
  if (::stat(path.c_str(), &old_info) == 0 && S_ISREG(old_info.st_mode))
    ::fchmod(fd.get(), (old_info.st_mode & 07777) | S_IRUSR | S_IWUSR);
  if (!WriteAll(fd.get(), contents) || ::fsync(fd.get()) != 0 || !fd.Close()) {
    qCWarning(lcVorlin) << "cannot write" << temporary.c_str() << std::strerror(errno);
    ::unlink(temporary.c_str());
    return std::nullopt;
  }
  return temporary;
}

bool ReplaceWithTemporary(const std::filesystem::path& temporary,
                          const std::filesystem::path& path) {
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    qCWarning(lcVorlin) << "cannot replace" << path.c_str() << std::strerror(errno);
    ::unlink(temporary.c_str());
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
  if (HoldsExactly(path, contents)) return true;
  const std::optional<std::filesystem::path> temporary = WriteTemporaryBeside(path, contents);
  return temporary && ReplaceWithTemporary(*temporary, path);
}

}  // namespace vorlin
