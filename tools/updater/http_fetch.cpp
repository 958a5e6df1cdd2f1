#include "tools/updater/http_fetch.h"

#include <curl/curl.h>

#include <cstdio>
#include <memory>

namespace kesto::updater {

namespace {

// Gives up on a server that accepts the connection and then sends nothing.
constexpr long kConnectTimeoutSeconds = 10;
constexpr long kStallSeconds = 30;

struct CurlDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
  return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
}

}  // namespace

Fetch FetchToFile(const std::string& url, const std::string& path) {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  std::unique_ptr<CURL, CurlDeleter> curl(initialised ? curl_easy_init() : nullptr);
  if (!curl) return {FetchResult::kFailed, "the HTTP library could not start"};
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return {FetchResult::kFailed, "cannot create " + path};

  char error[CURL_ERROR_SIZE] = "";
  curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl.get(), CURLOPT_NOPROXY, "127.0.0.1,localhost,::1");
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, WriteToFile);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, file.get());
  curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
  const CURLcode code = curl_easy_perform(curl.get());
  long status = 0;
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
  const bool flushed = std::fflush(file.get()) == 0 && !std::ferror(file.get());

  if (code != CURLE_OK) {
    return {FetchResult::kFailed, url + ": " + (*error ? error : curl_easy_strerror(code))};
  }
  if (status == 404) return {FetchResult::kNotFound, url + ": not on the server"};
  if (status != 200) return {FetchResult::kFailed, url + ": HTTP status " + std::to_string(status)};
  if (!flushed) return {FetchResult::kFailed, "cannot write " + path};
  return {FetchResult::kSaved, ""};
}

}  // namespace kesto::updater
