#include "online/installer.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <QProcess>
#include <QString>
#include <QStringList>

#include "platform/stop_event.h"

extern char** environ;

namespace vorlin {

namespace {

std::string FolderOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

bool MakeExecutable(const std::string& path, std::string* error) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 ||
      ::chmod(path.c_str(), (info.st_mode & 07777) | S_IRUSR | S_IXUSR) != 0) {
    if (error) *error = "cannot make " + path + " executable: " + std::strerror(errno);
    return false;
  }
  return true;
}

bool StartDesktopTool(const QString& program, const QStringList& arguments, std::string* error) {
  if (QProcess::startDetached(program, arguments)) return true;
  if (error) *error = program.toStdString() + " cannot be started";
  return false;
}

}  // namespace

InstallerKind ClassifyInstaller(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::array<char, 22> head{};
  file.read(head.data(), head.size());
  const auto got = static_cast<size_t>(file.gcount());
  auto starts = [&](std::string_view magic, size_t at = 0) {
    return got >= at + magic.size() && std::string_view(head.data() + at, magic.size()) == magic;
  };
  if (starts("!<arch>\ndebian-binary")) return InstallerKind::kPackage;
  if (starts("\x7f" "ELF")) {
    // An AppImage is an ELF program marked "AI" and its type at byte 8.
    if (starts("AI\x01", 8) || starts("AI\x02", 8)) return InstallerKind::kPackage;
    return InstallerKind::kProgram;
  }
  if (starts("#!")) return InstallerKind::kProgram;
  return InstallerKind::kOther;
}

bool OpenWithDesktop(const std::string& path, std::string* error) {
  return StartDesktopTool(QStringLiteral("xdg-open"), {QString::fromStdString(path)}, error);
}

bool ShowInFolder(const std::string& path, std::string* error) {
  return StartDesktopTool(QStringLiteral("xdg-open"), {QString::fromStdString(FolderOf(path))},
                          error);
}

bool StartDetached(const std::string& path, std::string* error) {
  if (!MakeExecutable(path, error)) return false;
  if (QProcess::startDetached(QString::fromStdString(path), {},
                              QString::fromStdString(FolderOf(path)))) {
    return true;
  }
  if (error) *error = path + " cannot be started";
  return false;
}

InstallerProcess::~InstallerProcess() {
  if (pidfd_ >= 0) ::close(pidfd_);
}

bool InstallerProcess::Start(const std::string& path, std::string* error) {
  if (!MakeExecutable(path, error)) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, FolderOf(path).c_str());
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  const int result = ::posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (result != 0) {
    pid_ = -1;
    if (error) *error = path + " cannot be started: " + std::strerror(result);
    return false;
  }
  // A descriptor for the process lets the wait sit in poll() beside the stop event.
  pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
  return true;
}

bool InstallerProcess::Wait(const StopEvent& stop, int* exit_code) {
  if (pid_ < 0) return false;
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      pid_ = -1;
      if (exit_code) *exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      return true;
    }
    if (done < 0 && errno != EINTR) return false;
    std::array<pollfd, 2> fds{{{stop.Fd(), POLLIN, 0}, {pidfd_, POLLIN, 0}}};
    // Without a process descriptor (an old kernel) the wait looks again every 100 ms.
    const int count = pidfd_ >= 0 ? 2 : 1;
    ::poll(fds.data(), count, pidfd_ >= 0 ? -1 : 100);
    if (stop.IsSet()) return false;
  }
}

}  // namespace vorlin
