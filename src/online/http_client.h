#pragma once

// A small blocking HTTP client on libcurl for the update check: a form POST (or GET) whose answer
// is collected into the caller's buffer, and a file download with progress calls. It runs on the
// update workers' threads; each worker has a client of its own, so nothing is shared.
//
// Certificates are always verified unless the configuration says otherwise: the update page
// downloads programs and starts them, and over an unverified connection anyone on the path could
// hand the user's machine a program of theirs. A private certificate authority (a test server's)
// can be named instead of turning verification off.
//
// Proxies are taken the way Linux programs take them: libcurl reads `https_proxy`, `http_proxy`,
// `all_proxy` and `no_proxy` from the environment; a caller that asks for the proxy gets the
// configuration's named proxy (with its user name and password) instead.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace vorlin {

class StopEvent;

struct HttpConfig {
  std::string userAgent = "WinHTTP Client/1.0";
  // Used when the caller asks for the proxy ("host:port" or a URL such as "http://host:port").
  std::string proxy;
  std::string proxyUserName;
  std::string proxyPassword;
  // Off only by an explicit setting (for a test server with a certificate of its own making).
  bool requireValidCertificate = true;
  // A file of trusted certificate authorities (PEM) used instead of the system's; empty: the
  // system's store.
  std::string caFile;
  // Milliseconds; 0 means no limit of its own. Name resolution and connecting share one limit
  // (their sum); sending and receiving end when no byte moved for the larger of the two.
  int resolveTimeoutMs = 0;
  int connectTimeoutMs = 60000;
  int sendTimeoutMs = 30000;
  int receiveTimeoutMs = 30000;
};

// Last-error codes of the refusals before any network activity; every other failure stores the
// libcurl error code (CURLE_*).
inline constexpr int kHttpErrorNoUrl = 3;
inline constexpr int kHttpErrorBadVerb = 87;

// The answer's text when no request could be sent at all.
inline constexpr std::string_view kNoLinkServer = "NO_LINK_SERVER";

struct DownloadResult {
  bool ok = false;          // the whole announced length arrived with a success status
  bool verified = false;    // over HTTPS with the server's certificate verified
  int64_t announced = -1;   // the content length the server announced (-1: none)
  int64_t received = 0;     // bytes written to the file
  std::string error;        // why it failed, for the log and the terminal
};

class HttpClient {
 public:
  // `defaults` is what Reset restores (the program's certificate settings go in here).
  explicit HttpClient(HttpConfig defaults = {});

  HttpConfig& Config() { return config_; }
  const HttpConfig& Config() const { return config_; }
  // Restores every field to the client's defaults.
  void Reset();
  int LastError() const { return last_error_; }
  // A sentence for the last failure ("the server's certificate could not be verified").
  std::string LastErrorText() const;

  // Ends a request or download of this client early when `stop` is set (another thread may set
  // it); nullptr: never.
  void SetAbortEvent(const StopEvent* stop) { abort_ = stop; }

  // Sends one request. `verb` is "GET" or "POST" (any case). Returns the number of answer bytes
  // stored in `response` (cut at its size), or -1 when the request is refused before any network
  // activity (no URL: last error 3; another verb: 87). When nothing could be sent, `response`
  // starts with "NO_LINK_SERVER" and the result is 0.
  int Request(std::string_view verb, const std::string& url, std::string_view body,
              std::span<char> response, bool use_proxy);

  // Progress of a download: (announced total, received so far). A total of 0 means it failed.
  using Progress = std::function<void(double total, double received)>;

  // Downloads `url` into `path` (created anew): a HEAD request for the length, then the GET,
  // with a progress call for every piece written. A length of 0 writes an empty file and calls
  // nothing; a failure while reading calls (0, received).
  DownloadResult Download(const std::string& url, const std::string& path,
                          const Progress& progress);

 private:
  HttpConfig defaults_;
  HttpConfig config_;
  int last_error_ = 0;
  const StopEvent* abort_ = nullptr;
};

}  // namespace vorlin
