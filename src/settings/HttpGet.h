#pragma once
// Plain blocking HTTP GET over libcurl for the version page and the installer download.

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

struct HttpResult {
  bool ok = false;      // transfer done and status 2xx
  long status = 0;      // last response's status, 0 when none came
  QString error;        // why not ok
};

struct HttpProgress {
  std::function<void(qint64 announced)> begin;  // first body bytes; announced is -1 when unknown
  std::function<void(qint64 received)> work;
  std::function<void()> end;                    // after the body, only when begin was called
};

// Body into out. followRedirects off: a 3xx answer is itself the result (and not ok).
HttpResult HttpGet(const QString& url, bool followRedirects, QIODevice& out,
                   const HttpProgress& progress = {});
