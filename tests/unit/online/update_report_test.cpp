// `vorlin --check-updates`: one line per row and the exit code, against the local server.
#include "online/update_report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "hid/device_tables.h"
#include "support/update_test_server.h"

namespace vorlin {
namespace {

using test::UpdateTestServer;

std::vector<SupportedDeviceEntry> Targets(int mouse_version) {
  return UpdateTargets(SupportedDeviceTable(), {{kKindMouse, mouse_version}});
}

TEST(UpdateCheckCommand, LinesAndExitCodes) {
  UpdateTestServer server(UpdateTestServer::Https());
  ASSERT_TRUE(server.Running());
  UpdateServer trusted = ResolveUpdateServer(server.BaseUrl(), std::nullopt);
  trusted.http.caFile = server.CaFile();
  const UpdateServer untrusted = ResolveUpdateServer(server.BaseUrl(), std::nullopt);
  const UpdateServer none = ResolveUpdateServer("", std::string());

  struct Case {
    const char* what;
    const UpdateServer& server;
    int mouseVersion;
    int exitCode;
    const char* output;
  };
  const Case cases[] = {
      {"updates", trusted, 0x0107, kCheckUpdateExists,
       "MS   V0107   V0109\nAP   V0101   V0102\n"},
      {"mouse current, program newer", trusted, 0x0109, kCheckUpdateExists,
       "MS   V0109   up to date\nAP   V0101   V0102\n"},
      {"untrusted certificate", untrusted, 0x0107, kCheckServerNotAsked,
       "MS   V0107   not asked: the server's certificate could not be verified\n"
       "AP   V0101   not asked: the server's certificate could not be verified\n"},
      {"no server", none, 0x0107, kCheckServerNotAsked,
       "MS   V0107   not asked: no update server is configured\n"
       "AP   V0101   not asked: no update server is configured\n"},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    EXPECT_EQ(PrintUpdateCheck(out, Targets(c.mouseVersion), c.server), c.exitCode) << c.what;
    EXPECT_EQ(out.str(), c.output) << c.what;
  }
  // A server that knows of nothing newer: 0.
  UpdateTestServer::Options options = UpdateTestServer::Https();
  options.answersJson = "{}";
  UpdateTestServer quiet(options);
  ASSERT_TRUE(quiet.Running());
  UpdateServer quiet_server = ResolveUpdateServer(quiet.BaseUrl(), std::nullopt);
  quiet_server.http.caFile = quiet.CaFile();
  std::ostringstream out;
  EXPECT_EQ(PrintUpdateCheck(out, Targets(0x0107), quiet_server), kCheckUpToDate);
  EXPECT_EQ(out.str(), "MS   V0107   up to date\nAP   V0101   up to date\n");
}

TEST(UpdateServerAddress, SettingEnvironmentAndValidity) {
  struct Case {
    std::string setting;
    std::optional<std::string> env;
    std::string url;  // empty: no server
  };
  const Case cases[] = {
      {"", std::nullopt, kDefaultApiBaseUrl},
      {"https://example.org/api/", std::nullopt, "https://example.org/api/"},
      {"https://example.org/api", std::nullopt, "https://example.org/api/"},
      {"https://example.org/api/", std::string("http://127.0.0.1:8080/api/"),
       "http://127.0.0.1:8080/api/"},
      {"https://example.org/api/", std::string(""), ""},
      {"ftp://example.org/api/", std::nullopt, ""},
      {"", std::string("file:///etc/api/"), ""},
      {"", std::string("not a url"), ""},
  };
  for (const Case& c : cases) {
    const UpdateServer server = ResolveUpdateServer(c.setting, c.env);
    EXPECT_EQ(server.apiBaseUrl, c.url) << c.setting << " / " << c.env.value_or("<unset>");
    EXPECT_EQ(server.error.empty(), !c.url.empty()) << c.setting;
    EXPECT_TRUE(server.http.requireValidCertificate);
  }
}

}  // namespace
}  // namespace vorlin
