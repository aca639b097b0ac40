#pragma once

// A helper program started for a test, with its standard output on a pipe.
//
// Started with fork() and exec rather than QProcess: Qt starts programs with vfork semantics (the
// child runs on the parent's memory until it execs), which ThreadSanitizer cannot follow — the
// child's calls run on the parent thread's sanitizer state and break the happens-before order the
// parent's mutexes give, so every later test reports false races. fork() is a call the sanitizer
// knows.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace vorlin::test {

class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() { Kill(); }

  // Starts `program` (looked up on PATH) with `arguments`; its standard error stays the test's.
  bool Start(const std::string& program, const std::vector<std::string>& arguments) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    // Everything the child needs is made before fork(): after it only exec-safe calls are made.
    std::vector<std::string> strings{program};
    strings.insert(strings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(fds[1], STDOUT_FILENO);
      ::execvp(program.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(fds[1]);
    if (pid_ < 0) {
      ::close(fds[0]);
      return false;
    }
    out_ = fds[0];
    return true;
  }

  // The next line of the child's output without its line end; false when none comes in time.
  bool ReadLine(std::string& line, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      if (const auto end = buffer_.find('\n'); end != std::string::npos) {
        line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return true;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (out_ < 0 || left.count() <= 0) return false;
      pollfd pfd{out_, POLLIN, 0};
      if (::poll(&pfd, 1, static_cast<int>(left.count())) <= 0) continue;
      char chunk[512];
      const ssize_t n = ::read(out_, chunk, sizeof chunk);
      if (n <= 0) return false;  // the child ended or closed its output
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }

  void Kill() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
    if (out_ >= 0) {
      ::close(out_);
      out_ = -1;
    }
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string buffer_;
};

}  // namespace vorlin::test
