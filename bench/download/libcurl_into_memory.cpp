#include "bench/download/libcurl_into_memory.h"

#include <curl/curl.h>

#include <cstdint>
#include <vector>

#include "bench/measure/repetitions.h"

namespace kesto::bench {

namespace {

struct Receiver {
  CURL* easy;
  std::vector<std::uint8_t> body;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  auto* receiver = static_cast<Receiver*>(self);
  if (receiver->body.capacity() == 0) {
    curl_off_t announced = -1;
    curl_easy_getinfo(receiver->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    if (announced > 0) receiver->body.reserve(static_cast<std::size_t>(announced));
  }
  receiver->body.insert(receiver->body.end(), data, data + size * count);
  return size * count;
}

}  // namespace

double TimeLibcurlIntoMemory(const std::string& url, long long size) {
  Receiver receiver{nullptr, {}};
  CURLcode result = CURLE_FAILED_INIT;
  const double seconds = SecondsOf([&] {
    receiver.easy = curl_easy_init();
    curl_easy_setopt(receiver.easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(receiver.easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(receiver.easy, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(receiver.easy, CURLOPT_WRITEDATA, &receiver);
    result = curl_easy_perform(receiver.easy);
    curl_easy_cleanup(receiver.easy);
  });
  const bool whole = result == CURLE_OK && static_cast<long long>(receiver.body.size()) == size;
  return whole ? seconds : -1;
}

}  // namespace kesto::bench
