#pragma once

#include <QUrl>

namespace vorlin {

// The program's home page, as the build names it (VORLIN_HOMEPAGE_URL).
QUrl HomepageUrl();

// Whether `url` is a page a browser can show: an http(s) address whose host is not a name
// reserved for examples and tests (example.com/.net/.org, .example, .test, .invalid, localhost),
// so that a build still carrying the placeholder shows no dead link.
bool IsUsableHomepage(const QUrl& url);

}  // namespace vorlin
