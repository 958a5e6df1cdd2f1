// Sending a request, reading its body and answering queries about its response.
#include <algorithm>
#include <cstring>
#include <limits>

#include "runtime/posix/inet_backend.h"

namespace kesto::inet::backend {

namespace {

constexpr long kMaxRedirects = 50;
// libcurl (7.88) writes an unterminated Cookie line when a stored cookie meets a request
// target near 8 KB long, and the server then waits forever; such requests keep out of the
// cookie store.
constexpr std::size_t kCookieUrlLimit = 8000;

void ChooseVerb(CURL* easy, const Text& verb, const std::optional<Bytes>& body) {
  if (verb == "POST") {
    curl_easy_setopt(easy, CURLOPT_POST, 1L);
  } else if (verb == "HEAD" && !body) {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else {
    if (!body) curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    if (verb != "GET" || body) curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, verb.c_str());
  }
}

void ChooseProxy(CURL* easy, const Session& session, const Text& url) {
  if (session.accessType == kOpenTypeDirect) {
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
  } else if (session.accessType == kOpenTypeProxy) {
    std::optional<UrlParts> parts = ParseHttpUrl(url);
    Text proxy = parts ? ProxyFor(session.rules, parts->scheme, parts->host) : "";
    curl_easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());
  }
  // The preconfigured types leave the choice to the environment (http_proxy, no_proxy ...).
}

// Redirects may change the scheme only in the direction the flags allow.
const char* RedirectSchemes(const Text& url, std::uint32_t flags) {
  bool secure = url.rfind("https:", 0) == 0;
  if (secure) return (flags & kFlagIgnoreRedirectToHttp) ? "https,http" : "https";
  return (flags & kFlagIgnoreRedirectToHttps) ? "http,https" : "http";
}

curl_slist* BuildHeaderList(const Request& request, const Text& headers) {
  std::vector<std::string> lines = HeaderLines(headers);
  // Only what the caller sent: curl's own Expect and Content-Type lines are not WinInet's.
  if (!HasHeader(lines, "Expect")) lines.push_back("Expect:");
  if (!HasHeader(lines, "Content-Type")) lines.push_back("Content-Type:");
  if ((request.flags & kFlagPragmaNoCache) && !HasHeader(lines, "Pragma")) {
    lines.push_back("Pragma: no-cache");
  }
  if (!request.referrer.empty() && !HasHeader(lines, "Referer")) {
    lines.push_back("Referer: " + request.referrer);
  }
  curl_slist* list = nullptr;
  for (const std::string& line : lines) list = curl_slist_append(list, line.c_str());
  return list;
}

bool WriteQueryAnswer(const std::string& answer, void* buffer, std::uint32_t& length) {
  if (answer.size() >= length || !buffer) {
    length = static_cast<std::uint32_t>(
        std::min<std::size_t>(answer.size() + 1, std::numeric_limits<std::uint32_t>::max()));
    return false;
  }
  std::memcpy(buffer, answer.data(), answer.size());
  static_cast<char*>(buffer)[answer.size()] = '\0';
  length = static_cast<std::uint32_t>(answer.size());
  return true;
}

}  // namespace

Request::~Request() = default;

bool SendRequest(Request& request, const Text& headers, const std::optional<Bytes>& body) {
  auto transfer = std::make_unique<Transfer>(request.closed);
  CURL* easy = transfer->Easy();
  curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION,
                   request.version == "HTTP/1.0" ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  if (!request.session->agent.empty()) {
    curl_easy_setopt(easy, CURLOPT_USERAGENT, request.session->agent.c_str());
  }
  ChooseProxy(easy, *request.session, request.url);
  if (!(request.flags & kFlagNoCookies) && request.url.size() <= kCookieUrlLimit) {
    curl_easy_setopt(easy, CURLOPT_SHARE, SharedCookieStore());
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
  }
  if (!(request.flags & kFlagNoAutoRedirect)) {
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR,
                     RedirectSchemes(request.url, request.flags));
  }
  transfer->SetHeaders(BuildHeaderList(request, headers));
  if (body) transfer->SetBody(*body);
  ChooseVerb(easy, request.verb, body);
  request.transfer = std::move(transfer);
  return request.transfer->Start();
}

}  // namespace kesto::inet::backend

namespace kesto::inet {

using namespace backend;

bool HttpSendRequest(Handle request, const Text& headers, const Bytes& body) {
  std::shared_ptr<Request> found = Find<Request>(request);
  if (!found) return false;
  // An empty body is still a body for a POST: it announces "Content-Length: 0".
  std::optional<Bytes> sent;
  if (!body.empty() || found->verb == "POST") sent = body;
  return SendRequest(*found, headers, sent);
}

bool InternetReadFile(Handle request, void* buffer, std::uint32_t size, std::uint32_t& read) {
  read = 0;
  std::shared_ptr<Request> found = Find<Request>(request);
  if (!found || !found->transfer || (!buffer && size > 0)) return false;
  std::size_t got = 0;
  bool ok = found->transfer->Read(buffer, size, got);
  read = static_cast<std::uint32_t>(got);
  return ok;
}

bool HttpQueryInfo(Handle request, std::uint32_t infoLevel, void* buffer, std::uint32_t& length,
                   std::uint32_t* index) {
  std::shared_ptr<Request> found = Find<Request>(request);
  if (!found || !found->transfer) return false;
  const std::string& block = found->transfer->HeaderBlock();
  if (block.empty()) return false;  // no response arrived
  bool number = infoLevel & kQueryFlagNumber;
  switch (infoLevel & ~kQueryFlagNumber) {
    case kQueryRawHeadersCrlf:
      return !number && WriteQueryAnswer(block, buffer, length);
    case kQueryContentLength: {
      std::optional<Text> value = HeaderValue(block, "Content-Length", index ? *index : 0);
      if (!value) return false;
      bool ok = false;
      if (!number) {
        ok = WriteQueryAnswer(*value, buffer, length);
      } else if (std::optional<std::uint32_t> parsed = ParseNumber(*value)) {
        ok = length >= sizeof(std::uint32_t) && buffer;
        if (ok) std::memcpy(buffer, &*parsed, sizeof(std::uint32_t));
        length = sizeof(std::uint32_t);
      }
      if (ok && index) ++*index;
      return ok;
    }
    case kQueryStatusCode: {
      std::optional<std::uint32_t> code = StatusCode(block);
      if (!number || !code || !buffer || length < sizeof(std::uint32_t)) return false;
      std::memcpy(buffer, &*code, sizeof(std::uint32_t));
      length = sizeof(std::uint32_t);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace kesto::inet
