#include "shell/homepage.h"

#include <QString>

#ifndef VORLIN_HOMEPAGE_URL
#define VORLIN_HOMEPAGE_URL ""
#endif

namespace vorlin {

QUrl HomepageUrl() {
  return QUrl(QString::fromUtf8(VORLIN_HOMEPAGE_URL), QUrl::StrictMode);
}

bool IsUsableHomepage(const QUrl& url) {
  if (!url.isValid() || (url.scheme() != u"https" && url.scheme() != u"http")) return false;
  const QString host = url.host().toLower();
  if (host.isEmpty() || host == u"localhost") return false;
  // Names reserved for documentation and testing (RFC 2606, RFC 6761).
  for (const char* reserved : {"example.com", "example.net", "example.org"}) {
    const QString name = QString::fromLatin1(reserved);
    if (host == name || host.endsWith(QLatin1Char('.') + name)) return false;
  }
  for (const char* suffix : {".example", ".test", ".invalid", ".localhost"}) {
    if (host.endsWith(QString::fromLatin1(suffix))) return false;
  }
  return true;
}

}  // namespace vorlin
