#include "online/update_server.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QUrl>

namespace vorlin {

UpdateServer ResolveUpdateServer(const std::string& setting_url,
                                 const std::optional<std::string>& env_url) {
  UpdateServer server;
  std::string url = env_url ? *env_url : setting_url;
  if (!env_url && url.empty()) url = kDefaultApiBaseUrl;
  const QUrl parsed(QString::fromStdString(url), QUrl::StrictMode);
  const QString scheme = parsed.scheme().toLower();
  if (url.empty() || !parsed.isValid() || parsed.host().isEmpty() ||
      (scheme != u"http" && scheme != u"https")) {
    server.error = url.empty() ? "no update server is configured"
                               : "the update server's address \"" + url + "\" is not usable";
    return server;
  }
  if (url.back() != '/') url += '/';
  server.apiBaseUrl = url;
  return server;
}

UpdateServer ReadUpdateServer(const QSettings& settings) {
  std::optional<std::string> env_url;
  if (qEnvironmentVariableIsSet("VORLIN_UPDATE_URL")) {
    env_url = qEnvironmentVariable("VORLIN_UPDATE_URL").trimmed().toStdString();
  }
  UpdateServer server =
      ResolveUpdateServer(settings.value("Update/ApiBaseUrl").toString().toStdString(), env_url);
  QString ca_file = qEnvironmentVariable("VORLIN_UPDATE_CA_FILE");
  if (ca_file.isEmpty()) ca_file = settings.value("Update/CaFile").toString();
  server.http.caFile = ca_file.toStdString();
  server.http.requireValidCertificate =
      !settings.value("Update/AllowUnverifiedCertificates", false).toBool();
  return server;
}

std::string UpdateDownloadFolder() {
  // The temporary folder is shared with every user of the machine, and what lands in here is run:
  // the folder must be ours alone (created 0700, not a link, no one else may write to it).
  const QByteArray folder = QFile::encodeName(QDir::tempPath() + QStringLiteral("/UpdateData"));
  if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) return {};
  struct stat info {};
  if (::lstat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
      info.st_uid != ::getuid() || (info.st_mode & 0077) != 0) {
    return {};
  }
  return folder.toStdString() + "/";
}

}  // namespace vorlin
