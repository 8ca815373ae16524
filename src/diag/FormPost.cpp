#include "diag/FormPost.h"

#include <curl/curl.h>

#include <memory>

namespace {

QByteArray encodeValue(const QString& text) {
  static constexpr char hex[] = "0123456789ABCDEF";
  QByteArray out;
  for (const char ch : text.toUtf8()) {
    const auto c = static_cast<unsigned char>(ch);
    const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                            c == '-' || c == '.' || c == '_' || c == '*';
    if (unreserved) {
      out += char(c);
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 0x0F];
    }
  }
  return out;
}

size_t discardBody(char*, size_t size, size_t count, void*) { return size * count; }

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};

struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

QByteArray FormUrlEncode(const QList<FormField>& fields) {
  QByteArray body;
  for (const FormField& field : fields) {
    if (!body.isEmpty()) body += '&';
    body += encodeValue(field.first) + '=' + encodeValue(field.second);
  }
  return body;
}

bool PostForm(const QString& url, const QList<FormField>& fields, std::chrono::milliseconds timeout) {
  const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) return false;
  const QByteArray address = url.toUtf8();
  const QByteArray body = FormUrlEncode(fields);
  // No "Expect: 100-continue": a report must not wait on an endpoint that never answers it.
  const std::unique_ptr<curl_slist, SlistDeleter> headers(curl_slist_append(nullptr, "Expect:"));
  CURL* h = curl.get();
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(h, CURLOPT_URL, address.constData());
  curl_easy_setopt(h, CURLOPT_POST, 1L);
  curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.constData());
  curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, discardBody);
  curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
  // Reports are raised from any thread, the user-interface one included: never wait for good.
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout.count()));
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  return curl_easy_perform(h) == CURLE_OK;
}
