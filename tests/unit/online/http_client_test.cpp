#include "online/http_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <QTemporaryDir>

#include "platform/stop_event.h"
#include "support/update_test_server.h"

namespace vorlin {
namespace {

using test::UpdateTestServer;

std::string Answer(const std::vector<char>& buffer, int stored) {
  return std::string(buffer.data(), stored > 0 ? static_cast<size_t>(stored) : 0);
}

HttpConfig TrustingCa(const UpdateTestServer& server) {
  HttpConfig config;
  config.caFile = server.CaFile();
  return config;
}

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(HttpClientRequest, RefusesWithoutNetworkActivity) {
  struct Case {
    const char* verb;
    const char* url;
    int lastError;
  };
  for (const Case& c : {Case{"POST", "", kHttpErrorNoUrl}, Case{"PUT", "http://127.0.0.1:1/", kHttpErrorBadVerb},
                        Case{"", "http://127.0.0.1:1/", kHttpErrorBadVerb}}) {
    HttpClient client;
    std::vector<char> buffer(64, 0);
    EXPECT_EQ(client.Request(c.verb, c.url, "", buffer, false), -1) << c.verb << " " << c.url;
    EXPECT_EQ(client.LastError(), c.lastError) << c.verb << " " << c.url;
    EXPECT_EQ(buffer[0], 0) << "the buffer is left alone";
  }
}

TEST(HttpClientRequest, ServerThatIsDownGivesNoLinkServer) {
  HttpClient client;
  std::vector<char> buffer(100, 0);
  const std::string url =
      "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/api/updates";
  EXPECT_EQ(client.Request("post", url, "app_key=NULL&version=0", buffer, false), 0);
  EXPECT_EQ(std::string(buffer.data()), "NO_LINK_SERVER");
  EXPECT_NE(client.LastError(), 0);
}

TEST(HttpClientRequest, PostsTheFormWithItsHeadersOverVerifiedHttps) {
  UpdateTestServer server(UpdateTestServer::Https());
  ASSERT_TRUE(server.Running());
  HttpClient client(TrustingCa(server));
  std::vector<char> buffer(102400, 0);
  const int stored = client.Request("POST", server.BaseUrl() + "updates",
                                    "app_key=TORVA_0_ALL_P10_1&version=1", buffer, false);
  ASSERT_GT(stored, 0) << client.LastErrorText();
  EXPECT_NE(Answer(buffer, stored).find("\"version_name\": \"V0102\""), std::string::npos)
      << Answer(buffer, stored);
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  for (const char* expected :
       {"\"method\": \"POST\"", "\"Content-Type\": \"application/x-www-form-urlencoded\"",
        "\"Accept\": \"application/prs.Torva.v1+json\"", "\"Content-Length\": \"35\"",
        "\"User-Agent\": \"WinHTTP Client/1.0\"",
        "\"body\": \"app_key=TORVA_0_ALL_P10_1&version=1\""}) {
    EXPECT_NE(requests[0].find(expected), std::string::npos) << expected << "\n" << requests[0];
  }
}

// A certificate the client cannot trust is refused unless verification was turned off by hand.
TEST(HttpClientRequest, UntrustedCertificatesAreRefusedUnlessAllowed) {
  for (const bool self_signed : {true, false}) {
    UpdateTestServer server(UpdateTestServer::SelfSigned(self_signed));
    ASSERT_TRUE(server.Running());
    const std::string url = server.BaseUrl() + "updates";
    std::vector<char> buffer(1024, 0);
    HttpClient strict;  // the system's authorities only
    EXPECT_EQ(strict.Request("POST", url, "app_key=NULL&version=0", buffer, false), 0);
    EXPECT_EQ(std::string(buffer.data()), "NO_LINK_SERVER") << "self-signed " << self_signed;
    EXPECT_EQ(strict.LastErrorText(), "the server's certificate could not be verified");

    HttpConfig lax;
    lax.requireValidCertificate = false;
    HttpClient allowed(lax);
    std::vector<char> answer(1024, 0);
    EXPECT_EQ(Answer(answer, allowed.Request("POST", url, "app_key=NULL&version=0", answer, false)),
              "{}")
        << "self-signed " << self_signed;
    // Reset goes back to the client's own defaults, not to a laxer record.
    strict.Config().requireValidCertificate = false;
    strict.Reset();
    EXPECT_TRUE(strict.Config().requireValidCertificate);
  }
}

TEST(HttpClientRequest, LongAnswerIsCutAtTheBuffer) {
  UpdateTestServer server(UpdateTestServer::Plain());
  ASSERT_TRUE(server.Running());
  HttpClient client;
  std::vector<char> buffer(1000, 0);
  EXPECT_EQ(client.Request("POST", server.BaseUrl() + "big", "", buffer, false), 1000);
  EXPECT_EQ(std::string(buffer.data(), buffer.size()), std::string(1000, 'x'));
}

TEST(HttpClientRequest, StopEventEndsAWaitingRequest) {
  UpdateTestServer server(UpdateTestServer::Plain());
  ASSERT_TRUE(server.Running());
  HttpClient client;
  StopEvent stop;
  client.SetAbortEvent(&stop);
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    stop.Set();
  });
  std::vector<char> buffer(100, 0);
  const auto start = std::chrono::steady_clock::now();
  client.Request("POST", server.BaseUrl() + "slow", "", buffer, false);
  stopper.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(client.LastErrorText(), "stopped");
}

TEST(HttpClientProxy, EnvironmentProxyCarriesTheRequest) {
  // The test server plays the proxy: a proxied request names the whole address.
  UpdateTestServer proxy(UpdateTestServer::Plain());
  ASSERT_TRUE(proxy.Running());
  const std::string proxy_url = "http://127.0.0.1:" + std::to_string(proxy.Port());
  ScopedEnv http_proxy("http_proxy", proxy_url.c_str());
  ScopedEnv no_proxy("no_proxy", nullptr);
  ScopedEnv no_proxy_upper("NO_PROXY", nullptr);
  HttpClient client;
  std::vector<char> buffer(1024, 0);
  const int stored = client.Request("POST", "http://update.vorlin.invalid/api/updates",
                                    "app_key=NULL&version=0", buffer, false);
  EXPECT_EQ(Answer(buffer, stored), "{}") << client.LastErrorText();
  const std::vector<std::string> requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].find("\"path\": \"http://update.vorlin.invalid/api/updates\""),
            std::string::npos)
      << requests[0];
}

TEST(HttpClientProxy, NamedProxyWithCredentialsWhenAskedFor) {
  UpdateTestServer proxy(UpdateTestServer::Plain());
  ASSERT_TRUE(proxy.Running());
  ScopedEnv http_proxy("http_proxy", nullptr);
  HttpClient client;
  client.Config().proxy = "127.0.0.1:" + std::to_string(proxy.Port());
  client.Config().proxyUserName = "user";
  client.Config().proxyPassword = "secret";
  std::vector<char> buffer(1024, 0);
  const std::string url = "http://update.vorlin.invalid/api/updates";
  // Without the flag the named proxy is not used (and the name does not resolve).
  EXPECT_EQ(client.Request("POST", url, "", buffer, false), 0);
  EXPECT_TRUE(proxy.Requests().empty());
  EXPECT_EQ(Answer(buffer, client.Request("POST", url, "", buffer, true)), "{}");
  const std::vector<std::string> requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 1u);
  // "user:secret" in base 64.
  EXPECT_NE(requests[0].find("\"Proxy-Authorization\": \"Basic dXNlcjpzZWNyZXQ=\""),
            std::string::npos)
      << requests[0];
}

class HttpClientDownload : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Running());
    client_.Config() = TrustingCa(server_);
  }
  void Serve(const std::string& name, const std::string& contents) {
    std::ofstream((server_.Files() + "/" + QString::fromStdString(name)).toStdString(),
                  std::ios::binary)
        << contents;
  }
  std::string Target() const { return (dir_.path() + "/download").toStdString(); }
  static std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  UpdateTestServer server_{UpdateTestServer::OwnFiles()};
  HttpClient client_;
  QTemporaryDir dir_;
  std::vector<std::pair<double, double>> progress_;
  HttpClient::Progress record_ = [this](double total, double received) {
    progress_.push_back({total, received});
  };
};

TEST_F(HttpClientDownload, WritesTheFileWithProgress) {
  std::string contents;
  for (int i = 0; i < 50000; ++i) contents.push_back(static_cast<char>('a' + i % 26));
  Serve("setup.sh", contents);
  const DownloadResult result =
      client_.Download(server_.Origin() + "/files/setup.sh", Target(), record_);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_TRUE(result.verified);
  EXPECT_EQ(result.announced, 50000);
  EXPECT_EQ(Read(Target()), contents);
  ASSERT_FALSE(progress_.empty());
  double last = 0;
  for (const auto& [total, received] : progress_) {
    EXPECT_EQ(total, 50000);
    EXPECT_GT(received, last);
    last = received;
  }
  EXPECT_EQ(progress_.back().second, 50000);
  // Two requests: the length first, then the file.
  const std::vector<std::string> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_NE(requests[0].find("\"method\": \"HEAD\""), std::string::npos);
  EXPECT_NE(requests[1].find("\"method\": \"GET\""), std::string::npos);
}

TEST_F(HttpClientDownload, EmptyFileIsWrittenWithoutProgress) {
  Serve("empty.bin", "");
  std::ofstream(Target()) << "old contents";
  const DownloadResult result =
      client_.Download(server_.Origin() + "/files/empty.bin", Target(), record_);
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.announced, 0);
  EXPECT_EQ(Read(Target()), "");
  EXPECT_TRUE(progress_.empty());
}

TEST_F(HttpClientDownload, FailuresReportATotalOfZero) {
  const std::string missing = server_.Origin() + "/files/missing.sh";
  const std::string down =
      "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/files/setup.sh";
  for (const std::string& url : {missing, down}) {
    progress_.clear();
    const DownloadResult result = client_.Download(url, Target(), record_);
    EXPECT_FALSE(result.ok) << url;
    EXPECT_FALSE(result.error.empty()) << url;
    ASSERT_EQ(progress_.size(), 1u) << url;
    EXPECT_EQ(progress_[0].first, 0) << url;
  }
}

TEST(HttpClientDownloadTrust, PlainHttpOrUnverifiedIsNotVerified) {
  UpdateTestServer plain(UpdateTestServer::Plain());
  ASSERT_TRUE(plain.Running());
  QTemporaryDir dir;
  HttpClient client;
  const DownloadResult over_http = client.Download(plain.Origin() + "/files/vorlin-setup.sh",
                                                   (dir.path() + "/a").toStdString(), {});
  EXPECT_TRUE(over_http.ok) << over_http.error;
  EXPECT_FALSE(over_http.verified);

  UpdateTestServer secure(UpdateTestServer::Https());
  ASSERT_TRUE(secure.Running());
  HttpConfig lax;
  lax.requireValidCertificate = false;
  HttpClient unverified(lax);
  const DownloadResult over_lax = unverified.Download(
      secure.Origin() + "/files/vorlin-setup.sh", (dir.path() + "/b").toStdString(), {});
  EXPECT_TRUE(over_lax.ok) << over_lax.error;
  EXPECT_FALSE(over_lax.verified);
}

}  // namespace
}  // namespace vorlin
