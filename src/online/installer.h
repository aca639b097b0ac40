#pragma once

// Starting a downloaded installer on Linux. What the file is decides how: a Debian package or an
// AppImage goes to the desktop (xdg-open), which installs it with the user's consent; an ELF
// program or a script with a "#!" line is made executable and run from its folder; anything else
// is not run at all.

#include <sys/types.h>

#include <string>

namespace vorlin {

class StopEvent;

enum class InstallerKind {
  kPackage,  // a Debian package or an AppImage: handed to the desktop
  kProgram,  // an ELF program or a "#!" script: run
  kOther,    // not run
};

// Looks at the file's first bytes (its name is not trusted).
InstallerKind ClassifyInstaller(const std::string& path);

// Hands the file to the desktop's opener. False (with the reason) when it cannot be started.
bool OpenWithDesktop(const std::string& path, std::string* error);

// Opens the file's folder in the desktop's file manager.
bool ShowInFolder(const std::string& path, std::string* error);

// A started installer program. The wait for it can be ended by a stop event; an installer that is
// still running then is left to finish on its own (it is the user's installation, not ours to
// end).
class InstallerProcess {
 public:
  InstallerProcess() = default;
  ~InstallerProcess();
  InstallerProcess(const InstallerProcess&) = delete;
  InstallerProcess& operator=(const InstallerProcess&) = delete;

  // Makes the file executable and starts it with its folder as working folder.
  bool Start(const std::string& path, std::string* error);
  // Waits until the program ends (true, with its exit code; -1 when it did not exit normally) or
  // `stop` is set (false).
  bool Wait(const StopEvent& stop, int* exit_code);

 private:
  pid_t pid_ = -1;
  int pidfd_ = -1;
};

// Starts the program without waiting for it (its process is not this program's child).
bool StartDetached(const std::string& path, std::string* error);

}  // namespace vorlin
