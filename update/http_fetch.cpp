#include "update/http_fetch.h"

#include <algorithm>

#include "net/url_helpers.h"
#include "runtime/inet.h"
#include "update/transfer_progress.h"

namespace kesto::update {

namespace {

constexpr std::uint32_t kReadChunk = 64 * 1024;
constexpr std::uint32_t kFetchFlags =
    inet::kFlagReload | inet::kFlagNoCacheWrite | inet::kFlagPragmaNoCache | inet::kFlagNoCookies;

// Closes a session, and every handle opened through it, however the fetch ends; a cancel
// closes it sooner.
class Session {
 public:
  explicit Session(const Text& url) {
    // A loopback server (the demo site) is never reached through a proxy.
    const Text host = net::UrlHost(url);
    const bool loopback = host == "127.0.0.1" || host == "localhost";
    handle_ = inet::InternetOpen("Kesto up.qmz",
                                 loopback ? inet::kOpenTypeDirect : inet::kOpenTypePreconfig,
                                 std::nullopt, std::nullopt, 0);
    if (handle_ && !WatchSession(handle_)) handle_ = 0;
  }
  ~Session() {
    if (handle_) CloseSession(handle_);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  inet::Handle Get() const { return handle_; }

 private:
  inet::Handle handle_ = 0;
};

int StatusCode(inet::Handle request) {
  std::uint32_t code = 0;
  std::uint32_t length = sizeof code;
  if (!inet::HttpQueryInfo(request, inet::kQueryStatusCode | inet::kQueryFlagNumber, &code, length,
                           nullptr)) {
    return 0;
  }
  return static_cast<int>(code);
}

// The response's ETag line's value; empty when it has none.
Text EntityTag(inet::Handle request) {
  char block[16384];
  std::uint32_t length = sizeof block;
  if (!inet::HttpQueryInfo(request, inet::kQueryRawHeadersCrlf, block, length, nullptr)) return {};
  const Text headers(block, length);
  const Text lower = ToLower(headers);
  const std::size_t line = lower.find("\r\netag:");
  if (line == Text::npos) return {};
  const std::size_t start = line + 7;
  return TrimBoth(headers.substr(start, headers.find("\r\n", start) - start));
}

}  // namespace

Fetch FetchToFile(const std::string& url, const Text& path,
                  const std::optional<ExpectedFile>& expected, const Text& ifNoneMatch,
                  std::optional<std::uint64_t> limit) {
  const Fetch cancelled{FetchResult::kFailed, url + ": cancelled"};
  Session session(url);
  if (TransferCancelled()) return cancelled;
  if (!session.Get()) return {FetchResult::kFailed, "the internet layer could not start"};
  const Text headers = ifNoneMatch.empty() ? Text{} : "If-None-Match: " + ifNoneMatch;
  const inet::Handle request = inet::InternetOpenUrl(session.Get(), url, headers, kFetchFlags);
  if (TransferCancelled()) return cancelled;
  if (!request) return {FetchResult::kFailed, url + ": no connection to the server"};
  const int status = StatusCode(request);
  if (status == 304 && !ifNoneMatch.empty()) return {FetchResult::kNotModified, ""};
  if (status == 404) return {FetchResult::kNotFound, url + ": not on the server"};
  if (status != 200) return {FetchResult::kFailed, url + ": HTTP status " + ToText(status)};

  // The body goes straight to a file beside the final one, which takes the final name only
  // once the whole body is in: no package is held in memory, and none is installed half.
  FileReplacement file(path);
  crypto::Sha256 digest;
  const Text notTheFile = url + ": not the file the release feed describes";
  if (expected) limit = std::min(limit.value_or(expected->size), expected->size);
  std::uint8_t chunk[kReadChunk];
  std::size_t size = 0;
  std::uint32_t read = 0;
  while (true) {
    if (!inet::InternetReadFile(request, chunk, kReadChunk, read)) {
      if (TransferCancelled()) return cancelled;
      return {FetchResult::kFailed, url + ": the transfer broke off"};
    }
    if (read == 0) break;
    if (TransferCancelled()) return cancelled;
    NoteReceived(read);
    size += read;
    if (limit && size > *limit) {
      if (expected) return {FetchResult::kFailed, notTheFile};
      return {FetchResult::kFailed, url + ": longer than " + std::to_string(*limit) + " bytes"};
    }
    if (expected) digest.Add(chunk, read);
    if (!file.Write(chunk, read)) return {FetchResult::kFailed, "cannot write " + path};
  }
  if (expected && (size != expected->size || digest.Finish() != expected->sha256)) {
    return {FetchResult::kFailed, notTheFile};
  }
  if (!file.Commit()) return {FetchResult::kFailed, "cannot write " + path};
  return {FetchResult::kSaved, "", size, EntityTag(request)};
}

}  // namespace kesto::update
