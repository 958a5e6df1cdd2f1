#include "update/http_fetch.h"

#include <algorithm>

#include "net/internet_session.h"
#include "net/url_helpers.h"
#include "runtime/inet.h"
#include "update/transfer_progress.h"

namespace kesto::update {

namespace {

constexpr std::uint32_t kReadChunk = 64 * 1024;
// The updater names itself to the server; the session's agent is the platform's.
constexpr const char* kAgentLine = "User-Agent: Kesto up.qmz";
constexpr std::uint32_t kFetchFlags =
    inet::kFlagReload | inet::kFlagNoCacheWrite | inet::kFlagPragmaNoCache | inet::kFlagNoCookies;

// The connection to the file's server, made through the program's one internet session, and
// closed with everything opened through it however the fetch ends; a cancel closes it sooner.
class Connection {
 public:
  explicit Connection(const Text& url) {
    handle_ = inet::InternetConnect(net::InternetSession(), net::UrlHost(url), net::UrlPort(url),
                                    "", "", inet::kServiceHttp, 0);
    if (handle_ && !WatchConnection(handle_)) handle_ = 0;
  }
  ~Connection() {
    if (handle_) CloseConnection(handle_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  inet::Handle Get() const { return handle_; }

 private:
  inet::Handle handle_ = 0;
};

// The GET of `url` on the connection, sent; 0 when no response came.
inet::Handle SendRequest(inet::Handle connection, const Text& url, const Text& headers) {
  std::uint32_t flags = kFetchFlags;
  if (net::IsSecureUrl(url)) flags |= inet::kFlagSecure;
  const inet::Handle request =
      inet::HttpOpenRequest(connection, "GET", net::UrlPath(url), "HTTP/1.1", "", flags);
  if (request && inet::HttpSendRequest(request, headers, {})) return request;
  if (request) inet::InternetCloseHandle(request);
  return 0;
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
  Connection connection(url);
  if (TransferCancelled()) return cancelled;
  if (!connection.Get()) return {FetchResult::kFailed, url + ": no connection to the server"};
  Text headers = kAgentLine;
  if (!ifNoneMatch.empty()) headers += "\r\nIf-None-Match: " + ifNoneMatch;
  const inet::Handle request = SendRequest(connection.Get(), url, headers);
  if (TransferCancelled()) return cancelled;
  if (!request) return {FetchResult::kFailed, url + ": no connection to the server"};
  const int status = inet::StatusCodeOf(request);
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
