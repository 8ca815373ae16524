#include "settings/HttpGet.h"

#include <QIODevice>

#include <curl/curl.h>

#include <memory>

namespace {

struct Transfer {
  QIODevice& out;
  const HttpProgress& progress;
  CURL* curl;
  qint64 received = 0;
  bool begun = false;
  bool writeFailed = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  if (!t->begun) {
    t->begun = true;
    curl_off_t length = -1;
    curl_easy_getinfo(t->curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (t->progress.begin) t->progress.begin(length);
  }
  if (t->out.write(data, static_cast<qint64>(bytes)) != static_cast<qint64>(bytes)) {
    t->writeFailed = true;
    return 0;  // makes curl stop with CURLE_WRITE_ERROR
  }
  t->received += static_cast<qint64>(bytes);
  if (t->progress.work) t->progress.work(t->received);
  return bytes;
}

}  // namespace

HttpResult HttpGet(const QString& url, bool followRedirects, QIODevice& out, const HttpProgress& progress) {
  HttpResult result;
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
  if (!curl) {
    result.error = QStringLiteral("curl_easy_init failed");
    return result;
  }
  Transfer t{out, progress, curl.get()};
  const QByteArray u = url.toUtf8();
  char error[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(curl.get(), CURLOPT_URL, u.constData());
  curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl.get(), CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl.get(), CURLOPT_FOLLOWLOCATION, followRedirects ? 1L : 0L);
  curl_easy_setopt(curl.get(), CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, 15L);
  // A stalled transfer ends instead of freezing the window: under 1 byte/s for 60 s.
  curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_TIME, 60L);
  curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &t);

  const CURLcode code = curl_easy_perform(curl.get());
  if (t.begun && progress.end) progress.end();
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &result.status);
  if (code != CURLE_OK) {
    result.error = t.writeFailed ? out.errorString()
                                 : QString::fromUtf8(error[0] ? error : curl_easy_strerror(code));
  } else if (result.status < 200 || result.status > 299) {
    result.error = QStringLiteral("HTTP status %1").arg(result.status);
  } else {
    result.ok = true;
  }
  return result;
}
