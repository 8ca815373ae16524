#include "api/HttpsPost.h"

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <stdexcept>

#include "api/TrustBundle.h"
#include "diag/TDebugWindow.h"
#include "diag/TErrorManager.h"
#include "settings/ServerConfig.h"

namespace {

constexpr long kTimeoutSeconds = 15;
constexpr long kMaxRedirects = 10;

// Logging must never turn a request into an exception (the error log throws when its file
// cannot be written).
void LogDebug(const QString& line) {
  try {
    TDebugWindow::Add(line);
  } catch (...) {
  }
}

void LogBoth(const QString& line) {
  LogDebug(line);
  try {
    TErrorManager::Log(line);
  } catch (...) {
  }
}

struct CurlDeleter {
  void operator()(CURL* h) const { curl_easy_cleanup(h); }
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;
using CurlList = std::unique_ptr<curl_slist, CurlDeleter>;

struct Upload {
  const QByteArray& body;
  qsizetype pos = 0;
};

size_t ReadBody(char* buffer, size_t size, size_t count, void* userdata) {
  auto* up = static_cast<Upload*>(userdata);
  const size_t room = size * count;
  const size_t left = static_cast<size_t>(up->body.size() - up->pos);
  const size_t n = left < room ? left : room;
  memcpy(buffer, up->body.constData() + up->pos, n);
  up->pos += static_cast<qsizetype>(n);
  return n;
}

// A redirect that keeps the POST sends the body again from the start.
int SeekBody(void* userdata, curl_off_t offset, int origin) {
  auto* up = static_cast<Upload*>(userdata);
  if (origin != SEEK_SET || offset < 0 || offset > up->body.size()) return CURL_SEEKFUNC_FAIL;
  up->pos = static_cast<qsizetype>(offset);
  return CURL_SEEKFUNC_OK;
}

size_t WriteReply(char* data, size_t size, size_t count, void* userdata) {
  static_cast<QByteArray*>(userdata)->append(data, static_cast<qsizetype>(size * count));
  return size * count;
}

void Check(CURLcode code) {
  if (code != CURLE_OK) throw std::runtime_error(curl_easy_strerror(code));
}

void ApplyTrust(CURL* h, const ServerConfig& config, std::string& blobStore) {
  if (!config.VerifyTls) {
    Check(curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L));
    Check(curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L));
    return;
  }
  Check(curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L));
  Check(curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L));
  if (config.CaFile.trimmed().isEmpty()) return;  // curl's own system store

  const char* systemBundle = nullptr;
  curl_easy_getinfo(h, CURLINFO_CAINFO, &systemBundle);
  TrustBundle bundle = MakeTrustBundle(systemBundle ? QString::fromLocal8Bit(systemBundle) : QString(),
                                       config.CaFile);
  if (!bundle.problem.isEmpty()) LogBoth("HTTPS_POST " + bundle.problem);
  if (bundle.pem.empty()) return;
  blobStore = std::move(bundle.pem);
  curl_blob blob{blobStore.data(), blobStore.size(), CURL_BLOB_NOCOPY};
  Check(curl_easy_setopt(h, CURLOPT_CAINFO_BLOB, &blob));
}

// Performs the request; returns the reply body or throws with the failure's message.
QByteArray Post(const QString& url, const QByteArray& body) {
  // Everything the handle points at is declared first, so it outlives the handle's cleanup.
  char errorText[CURL_ERROR_SIZE] = {};
  Upload upload{body};
  QByteArray received;
  const QByteArray urlBytes = url.trimmed().toUtf8();
  std::string trustBlob;
  CurlList headers;
  for (const char* line :
       {"Content-Type: application/json", "Transfer-Encoding: chunked", "Expect:"}) {
    curl_slist* grown = curl_slist_append(headers.get(), line);
    if (!grown) throw std::runtime_error("out of memory");
    (void)headers.release();  // the grown list keeps the same head
    headers.reset(grown);
  }

  CurlHandle h(curl_easy_init());
  if (!h) throw std::runtime_error("cannot create a request");
  CURL* c = h.get();
  Check(curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText));
  Check(curl_easy_setopt(c, CURLOPT_URL, urlBytes.constData()));
  Check(curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "https"));
  Check(curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L));
  Check(curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1)));
  Check(curl_easy_setopt(c, CURLOPT_POST, 1L));
  Check(curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get()));
  Check(curl_easy_setopt(c, CURLOPT_READFUNCTION, &ReadBody));
  Check(curl_easy_setopt(c, CURLOPT_READDATA, &upload));
  Check(curl_easy_setopt(c, CURLOPT_SEEKFUNCTION, &SeekBody));
  Check(curl_easy_setopt(c, CURLOPT_SEEKDATA, &upload));
  Check(curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &WriteReply));
  Check(curl_easy_setopt(c, CURLOPT_WRITEDATA, &received));
  Check(curl_easy_setopt(c, CURLOPT_TIMEOUT, kTimeoutSeconds));
  Check(curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L));
  Check(curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L));
  Check(curl_easy_setopt(c, CURLOPT_MAXREDIRS, kMaxRedirects));
  // Redirects stay on https (the query holds the shop's keys) and keep the POST and its body.
  Check(curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "https"));
  Check(curl_easy_setopt(c, CURLOPT_POSTREDIR, static_cast<long>(CURL_REDIR_POST_ALL)));
  ApplyTrust(c, LoadServerConfig(), trustBlob);

  const CURLcode done = curl_easy_perform(c);
  if (done != CURLE_OK)
    throw std::runtime_error(errorText[0] ? errorText : curl_easy_strerror(done));
  return received;
}

}  // namespace

void HTTPS_POST(const QString& url, const QByteArray& body, QString& reply) {
  LogBoth("HTTPS_POST url : " + url);
  reply.clear();
  try {
    // The reply is UTF-8 whatever character set it declares.
    const QString text = QString::fromUtf8(Post(url, body));
    LogDebug("HTTPS_POST respon : " + text);
    reply = text;
  } catch (const std::exception& e) {
    LogBoth(QStringLiteral("HTTPS_POST err : ") + QString::fromUtf8(e.what()));
  } catch (...) {
    LogBoth(QStringLiteral("HTTPS_POST err : unknown failure"));
  }
}
