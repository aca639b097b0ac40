#pragma once

// Where the update check asks and how it trusts the server, from the program's settings (group
// "Update") and the environment:
//
//   Update/ApiBaseUrl                  the web API's base address, ending in "/api/"
//                                      (built-in default kDefaultApiBaseUrl)
//   VORLIN_UPDATE_URL                  overrides ApiBaseUrl; set but empty: no update server
//   Update/CaFile, VORLIN_UPDATE_CA_FILE
//                                      trust this certificate authority (PEM) instead of the
//                                      system's (the variable wins)
//   Update/AllowUnverifiedCertificates true: accept any certificate (a test server only; nothing
//                                      downloaded this way is ever started)

#include <optional>
#include <string>

#include "online/http_client.h"

class QSettings;

namespace vorlin {

inline constexpr char kDefaultApiBaseUrl[] = "https://update.vorlin.invalid/api/";

struct UpdateServer {
  // Empty when no usable server is configured (`error` says why).
  std::string apiBaseUrl;
  std::string error;
  HttpConfig http;
};

// `env_url` is VORLIN_UPDATE_URL when it is set. An address that is not http or https with a host
// is no server; a missing final "/" is added.
UpdateServer ResolveUpdateServer(const std::string& setting_url,
                                 const std::optional<std::string>& env_url);

// The settings and the environment together.
UpdateServer ReadUpdateServer(const QSettings& settings);

// The folder downloads go to: the temporary folder + "UpdateData/" (created when missing, for
// this user alone). Empty when it exists but belongs to someone else or others may write to it.
std::string UpdateDownloadFolder();

}  // namespace vorlin
