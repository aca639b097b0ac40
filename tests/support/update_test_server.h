#pragma once

// The local update server of scripts/update_test_server.py, started for one test and stopped
// with it. It makes its own certificate authority in a private folder.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"

namespace vorlin::test {

class UpdateTestServer {
 public:
  struct Options {
    bool http = false;
    bool selfSigned = false;
    std::string answersJson;  // empty: the sample answers
    bool ownFiles = false;    // serve Files() (empty at first) instead of the sample installers
  };
  static Options Https() { return {}; }
  static Options Plain() {
    Options options;
    options.http = true;
    return options;
  }
  static Options SelfSigned(bool self_signed) {
    Options options;
    options.selfSigned = self_signed;
    return options;
  }
  static Options OwnFiles() {
    Options options;
    options.ownFiles = true;
    return options;
  }

  explicit UpdateTestServer(Options options) {
    if (!dir_.isValid()) return;
    std::vector<std::string> args{VORLIN_SOURCE_DIR "/scripts/update_test_server.py",
                                  "--port", "0", "--dir", dir_.path().toStdString(),
                                  "--log", LogPath().toStdString()};
    if (options.http) args.push_back("--http");
    if (options.selfSigned) args.push_back("--self-signed");
    if (!options.answersJson.empty()) {
      const std::string answers = dir_.path().toStdString() + "/answers.json";
      std::ofstream(answers) << options.answersJson;
      args.insert(args.end(), {"--answers", answers});
    }
    if (options.ownFiles) {
      QDir(dir_.path()).mkpath("own-files");
      args.insert(args.end(), {"--files", Files().toStdString()});
    }
    std::string ready;
    if (!process_.Start("python3", args) ||
        !process_.ReadLine(ready, std::chrono::seconds(20))) {
      return;
    }
    const QStringList parts = QString::fromStdString(ready).trimmed().split(' ');
    if (parts.size() == 4 && parts[0] == u"READY") {
      port_ = parts[1].toInt();
      base_ = parts[2].toStdString();
      if (parts[3] != u"-") ca_ = parts[3].toStdString();
    }
  }
  ~UpdateTestServer() { process_.Kill(); }

  bool Running() const { return port_ > 0; }
  int Port() const { return port_; }
  // "https://127.0.0.1:<port>/api/"
  const std::string& BaseUrl() const { return base_; }
  std::string Origin() const { return base_.substr(0, base_.size() - 5); }
  const std::string& CaFile() const { return ca_; }
  QString Files() const { return dir_.path() + "/own-files"; }
  QString LogPath() const { return dir_.path() + "/requests.log"; }
  // The recorded requests, one JSON text each.
  std::vector<std::string> Requests() const {
    std::vector<std::string> lines;
    std::ifstream log(LogPath().toStdString());
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
  }

 private:
  QTemporaryDir dir_;
  ChildProcess process_;
  int port_ = 0;
  std::string base_;
  std::string ca_;
};

// A port on the loopback address where nothing listens (bound and closed again at once).
inline int ClosedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);
  return ntohs(address.sin_port);
}

}  // namespace vorlin::test
