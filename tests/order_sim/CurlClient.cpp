#include "CurlClient.h"

#include <curl/curl.h>

#include <memory>

namespace {

size_t Append(char* data, size_t size, size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

struct Upload {
  const std::string* body;
  size_t offset = 0;
};

size_t Feed(char* buffer, size_t size, size_t count, void* source) {
  auto* upload = static_cast<Upload*>(source);
  const size_t n = std::min(size * count, upload->body->size() - upload->offset);
  upload->body->copy(buffer, n, upload->offset);
  upload->offset += n;
  return n;
}

// Lets curl send the body again when it follows a redirect.
int Rewind(void* source, curl_off_t offset, int origin) {
  auto* upload = static_cast<Upload*>(source);
  if (origin != SEEK_SET || offset < 0 || static_cast<size_t>(offset) > upload->body->size())
    return CURL_SEEKFUNC_FAIL;
  upload->offset = static_cast<size_t>(offset);
  return CURL_SEEKFUNC_OK;
}

}  // namespace

CurlReply Perform(const CurlRequest& request) {
  CurlReply reply;
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
  curl_slist* list = nullptr;
  for (const auto& header : request.headers) list = curl_slist_append(list, header.c_str());
  if (request.chunked) list = curl_slist_append(list, "Transfer-Encoding: chunked");
  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(list, curl_slist_free_all);

  Upload upload{&request.body};
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, request.method.c_str());
  if (request.method == "POST") {
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, Feed);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_SEEKFUNCTION, Rewind);
    curl_easy_setopt(c, CURLOPT_SEEKDATA, &upload);
    if (!request.chunked)
      curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE,
                       static_cast<curl_off_t>(request.body.size()));
  }
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &reply.body);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, request.timeoutMs);
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  if (!request.caFile.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, request.caFile.c_str());

  const CURLcode code = curl_easy_perform(c);
  reply.ok = code == CURLE_OK;
  if (!reply.ok) reply.error = curl_easy_strerror(code);
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &reply.status);
  char* type = nullptr;
  if (curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
    reply.contentType = type;
  return reply;
}
