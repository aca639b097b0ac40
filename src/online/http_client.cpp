#include "online/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/log.h"
#include "platform/stop_event.h"

namespace vorlin {

namespace {

// libcurl's global state must be set up once, before any thread uses it.
void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Returns non-zero (ending the transfer) once the client's abort event is set.
int AbortCheck(void* data, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* stop = static_cast<const StopEvent*>(data);
  return stop && stop->IsSet() ? 1 : 0;
}

bool IsHttps(const std::string& url) {
  return url.size() >= 8 && strncasecmp(url.c_str(), "https://", 8) == 0;
}

// The settings every transfer of the client shares: agent, certificates, limits, abort.
void ApplyCommon(CURL* curl, const HttpConfig& config, const StopEvent* abort) {
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  if (!config.userAgent.empty()) curl_easy_setopt(curl, CURLOPT_USERAGENT, config.userAgent.c_str());
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, config.requireValidCertificate ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, config.requireValidCertificate ? 2L : 0L);
  if (!config.caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, config.caFile.c_str());
  // Only the web's protocols: an answer may not redirect the client to a file or another scheme.
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "https");
  const long connect_ms = static_cast<long>(config.resolveTimeoutMs) + config.connectTimeoutMs;
  if (connect_ms > 0) curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, connect_ms);
  const int stall_ms = std::max(config.sendTimeoutMs, config.receiveTimeoutMs);
  if (stall_ms > 0) {
    // libcurl measures a stall in whole seconds: below one byte a second for that long.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>((stall_ms + 999) / 1000));
  }
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, AbortCheck);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, abort);
}

// The caller's buffer, filled up to its end; the rest of a longer answer is read and dropped.
struct ResponseSink {
  std::span<char> buffer;
  size_t stored = 0;
};

size_t StoreResponse(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<ResponseSink*>(user);
  const size_t length = size * count;
  const size_t room = sink->buffer.size() - sink->stored;
  const size_t take = std::min(room, length);
  if (take > 0) std::memcpy(sink->buffer.data() + sink->stored, data, take);
  sink->stored += take;
  return length;
}

size_t DropBody(char*, size_t size, size_t count, void*) { return size * count; }

}  // namespace

HttpClient::HttpClient(HttpConfig defaults) : defaults_(std::move(defaults)), config_(defaults_) {
  InitCurlOnce();
}

void HttpClient::Reset() {
  config_ = defaults_;
  last_error_ = 0;
}

std::string HttpClient::LastErrorText() const {
  switch (last_error_) {
    case 0:
      return {};
    case kHttpErrorNoUrl:
      return "no address to ask";
    case kHttpErrorBadVerb:
      return "not a GET or POST request";
    case CURLE_PEER_FAILED_VERIFICATION:
      return "the server's certificate could not be verified";
    case CURLE_SSL_CACERT_BADFILE:
      return "the certificate authority file cannot be read";
    case CURLE_COULDNT_RESOLVE_HOST:
      return "the server's name cannot be resolved";
    case CURLE_COULDNT_CONNECT:
      return "the server cannot be reached";
    case CURLE_OPERATION_TIMEDOUT:
      return "the server did not answer in time";
    case CURLE_ABORTED_BY_CALLBACK:
      return "stopped";
    default:
      return curl_easy_strerror(static_cast<CURLcode>(last_error_));
  }
}

int HttpClient::Request(std::string_view verb, const std::string& url, std::string_view body,
                        std::span<char> response, bool use_proxy) {
  last_error_ = 0;
  if (url.empty()) {
    last_error_ = kHttpErrorNoUrl;
    return -1;
  }
  const bool post = verb.size() == 4 && strncasecmp(verb.data(), "POST", 4) == 0;
  const bool get = verb.size() == 3 && strncasecmp(verb.data(), "GET", 3) == 0;
  if (!post && !get) {
    last_error_ = kHttpErrorBadVerb;
    return -1;
  }
  CurlHandle curl(curl_easy_init());
  if (!curl) {
    last_error_ = CURLE_FAILED_INIT;
    return -1;
  }
  CURL* c = curl.get();
  ApplyCommon(c, config_, abort_);
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  if (post || !body.empty()) {
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    if (get) curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, "GET");
  }
  // libcurl writes Content-Length itself from the body's size.
  curl_slist* list = curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded");
  if (curl_slist* more = curl_slist_append(list, "Accept:application/prs.Torva.v1+json")) list = more;
  HeaderList headers(list);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  if (use_proxy && !config_.proxy.empty()) {
    curl_easy_setopt(c, CURLOPT_PROXY, config_.proxy.c_str());
    if (!config_.proxyUserName.empty())
      curl_easy_setopt(c, CURLOPT_PROXYUSERNAME, config_.proxyUserName.c_str());
    if (!config_.proxyPassword.empty())
      curl_easy_setopt(c, CURLOPT_PROXYPASSWORD, config_.proxyPassword.c_str());
  }
  ResponseSink sink{response};
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, StoreResponse);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);

  const CURLcode result = curl_easy_perform(c);
  long status = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
  if (result != CURLE_OK) last_error_ = result;
  if (status == 0) {
    // No answer at all: the server was not reached (or refused by its certificate).
    qCInfo(lcVorlin).noquote() << "update request to" << QString::fromStdString(url)
                               << "not sent:" << QString::fromStdString(LastErrorText());
    const size_t take = std::min(response.size(), kNoLinkServer.size());
    std::memcpy(response.data(), kNoLinkServer.data(), take);
    if (take < response.size()) response[take] = '\0';
    return 0;
  }
  return static_cast<int>(std::min(sink.stored, response.size()));
}

namespace {

struct FileSink {
  std::FILE* file = nullptr;
  int64_t total = 0;
  int64_t received = 0;
  bool write_failed = false;
  const HttpClient::Progress* progress = nullptr;
};

size_t WriteToFile(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<FileSink*>(user);
  const size_t length = size * count;
  // More than announced is not what the server promised: stop rather than grow the file.
  if (sink->received + static_cast<int64_t>(length) > sink->total) return 0;
  if (std::fwrite(data, 1, length, sink->file) != length) {
    sink->write_failed = true;
    return 0;
  }
  sink->received += static_cast<int64_t>(length);
  if (*sink->progress) {
    (*sink->progress)(static_cast<double>(sink->total), static_cast<double>(sink->received));
  }
  return length;
}

}  // namespace

DownloadResult HttpClient::Download(const std::string& url, const std::string& path,
                                    const Progress& progress) {
  DownloadResult outcome;
  last_error_ = 0;
  auto fail = [&](std::string why) {
    outcome.error = std::move(why);
    if (progress) progress(0, static_cast<double>(outcome.received));
    return outcome;
  };
  if (url.empty()) {
    last_error_ = kHttpErrorNoUrl;
    return fail("no address to download");
  }

  // HEAD: the length the server announces.
  {
    CurlHandle head(curl_easy_init());
    if (!head) return fail("libcurl cannot start");
    ApplyCommon(head.get(), config_, abort_);
    curl_easy_setopt(head.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(head.get(), CURLOPT_NOBODY, 1L);
    curl_easy_setopt(head.get(), CURLOPT_WRITEFUNCTION, DropBody);
    const CURLcode result = curl_easy_perform(head.get());
    long status = 0;
    curl_easy_getinfo(head.get(), CURLINFO_RESPONSE_CODE, &status);
    curl_off_t length = -1;
    curl_easy_getinfo(head.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (result != CURLE_OK) {
      last_error_ = result;
      return fail(LastErrorText());
    }
    if (status < 200 || status >= 300) return fail("the server answered " + std::to_string(status));
    outcome.announced = length;
  }
  if (outcome.announced < 0) return fail("the server did not announce the file's length");

  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return fail("cannot create " + path);
  if (outcome.announced == 0) {
    outcome.ok = true;
    outcome.verified = IsHttps(url) && config_.requireValidCertificate;
    return outcome;
  }

  CurlHandle get(curl_easy_init());
  if (!get) return fail("libcurl cannot start");
  FileSink sink{file.get(), outcome.announced, 0, false, &progress};
  ApplyCommon(get.get(), config_, abort_);
  curl_easy_setopt(get.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(get.get(), CURLOPT_WRITEFUNCTION, WriteToFile);
  curl_easy_setopt(get.get(), CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(get.get(), CURLOPT_FAILONERROR, 1L);
  const CURLcode result = curl_easy_perform(get.get());
  outcome.received = sink.received;
  if (std::fflush(file.get()) != 0) sink.write_failed = true;
  file.reset();
  if (sink.write_failed) return fail("cannot write " + path);
  if (result != CURLE_OK) {
    last_error_ = result;
    return fail(LastErrorText());
  }
  if (sink.received != outcome.announced) {
    return fail("the file arrived with " + std::to_string(sink.received) + " of " +
                std::to_string(outcome.announced) + " bytes");
  }
  outcome.ok = true;
  outcome.verified = IsHttps(url) && config_.requireValidCertificate;
  return outcome;
}

}  // namespace vorlin
