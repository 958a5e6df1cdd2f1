#include "net/http_request.h"

#include "net/internet_session.h"
#include "net/response_headers.h"
#include "net/url_helpers.h"
#include "runtime/inet.h"

namespace kesto::net {

const char* const kDefaultUserAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; K9ZT4; .NET CLR 2.0.50727; .NET CLR "
    "3.0.04506.648; .NET CLR 3.5.21022)";

namespace {

constexpr int kReadChunk = 1024;
constexpr int kHeaderBufferSize = 5000;

std::uint32_t RequestFlags(const Text& url, const HttpRequestOptions& options) {
  std::uint32_t flags = inet::kFlagReload | inet::kFlagNeedFile;
  if (options.cookies) flags |= inet::kFlagNoCookies;
  if (options.noRedirect) flags |= inet::kFlagNoAutoRedirect;
  if (IsSecureUrl(url)) {
    flags |= inet::kFlagSecure;
  } else {
    flags |= inet::kFlagIgnoreRedirectToHttps;
  }
  return flags;
}

// Adds the default lines the caller's text lacks; the tests are exact-case searches.
void AddDefaultHeaders(Text& headers, const Text& url, const Text* cookies) {
  if (FindText(headers, "Referer:") == -1) {
    headers += (headers.empty() ? "Referer: " : "\r\nReferer: ") + url;
  }
  if (FindText(headers, "Accept:") == -1) headers += "\r\nAccept: */*";
  if (FindText(headers, "Accept-Language:") == -1) headers += "\r\nAccept-Language: zh-cn";
  if (FindText(headers, "Content-Type:") == -1) {
    headers += "\r\nContent-Type: application/x-www-form-urlencoded";
  }
  if (cookies && !cookies->empty()) headers += "\r\nCookie: " + *cookies;
}

// The whole body, or nothing when the transfer broke off before its end or the body grew
// beyond `maxBytes` (0: no bound).
Bytes ReadBody(inet::Handle request, std::size_t maxBytes) {
  Bytes body;
  std::uint8_t buffer[kReadChunk];
  std::uint32_t read = 0;
  while (true) {
    bool ok = inet::InternetReadFile(request, buffer, kReadChunk, read);
    if (!ok) return {};
    if (read == 0) return body;
    body.insert(body.end(), buffer, buffer + read);
    if (maxBytes != 0 && body.size() > maxBytes) return {};
  }
}

// The raw header block; 5000 spaces when it does not fit the buffer.
Text RawResponseHeaders(inet::Handle request) {
  Text buffer(kHeaderBufferSize, ' ');
  std::uint32_t length = kHeaderBufferSize;
  if (!inet::HttpQueryInfo(request, inet::kQueryRawHeadersCrlf, buffer.data(), length, nullptr)) {
    return buffer;
  }
  return Text(buffer.c_str());  // up to the terminating zero
}

}  // namespace

Text RequestAgent(const Text& headers) {
  if (FindText(headers, "User-Agent:", {}, true) == -1) return kDefaultUserAgent;
  Text agent = TrimBoth(TextBetween(headers, "User-Agent:", "\r\n"));
  return agent.empty() ? ValueAfterColon(headers) : agent;
}

Bytes HttpRequest(const Text& url, const HttpRequestOptions& options) {
  Text headers = options.headers ? *options.headers : Text{};

  // A proxy the caller names gets a session of its own; every other request goes through the
  // program's one session on the system's settings, which stays open.
  const inet::Handle ownSession =
      options.proxy ? inet::InternetOpen(RequestAgent(headers), inet::kOpenTypeProxy,
                                         "http=" + *options.proxy, "", 0)
                    : 0;
  const inet::Handle session = options.proxy ? ownSession : InternetSession();
  if (!session) return {};
  inet::Handle connection =
      inet::InternetConnect(session, UrlHost(url), UrlPort(url), "", "", inet::kServiceHttp, 0);
  if (!connection) {
    if (ownSession) inet::InternetCloseHandle(ownSession);
    return {};
  }
  inet::Handle request =
      inet::HttpOpenRequest(connection, options.method == 1 ? "POST" : "GET", UrlPath(url),
                            "HTTP/1.1", "", RequestFlags(url, options));
  if (!request) {
    inet::InternetCloseHandle(connection);
    if (ownSession) inet::InternetCloseHandle(ownSession);
    return {};
  }

  AddDefaultHeaders(headers, url, options.cookies);
  if (options.headers) *options.headers = headers;
  if (options.method == 0) {
    inet::HttpSendRequest(request, headers, {});
  } else {
    Bytes body = options.postBytes ? *options.postBytes : Bytes{};
    if (body.empty()) body = ToBytes(options.postText);
    if (options.postBytes) *options.postBytes = body;
    inet::HttpSendRequest(request, headers, body);
  }
  Bytes body = ReadBody(request, options.maxBytes);
  Text responseHeaders = RawResponseHeaders(request);
  inet::InternetCloseHandle(request);
  inet::InternetCloseHandle(connection);
  if (ownSession) inet::InternetCloseHandle(ownSession);

  ResponseHeaderValues values = ReadResponseHeaders(
      responseHeaders, options.redirectLocation ? *options.redirectLocation : Text{});
  Text redirectLocation = values.redirectLocation;
  Text responseCookies = values.cookies;
  if (options.cookies) MergeCookies(*options.cookies, responseCookies);
  if (redirectLocation.empty()) redirectLocation = responseHeaders;

  if (options.responseCookies) *options.responseCookies = responseCookies;
  if (options.redirectLocation) *options.redirectLocation = redirectLocation;
  if (options.responseHeaders) *options.responseHeaders = responseHeaders;
  return body;
}

}  // namespace kesto::net
