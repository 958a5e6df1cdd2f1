// The pieces of the libcurl internet back end: the handle table, the process-wide cookie
// store, proxy rules, wire helpers and the streaming transfer behind a request handle.
#pragma once

#include <curl/curl.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/inet.h"

namespace kesto::inet::backend {

// ---- libcurl and the cookie store ----

// Initialises libcurl once per process; safe from any thread.
void EnsureCurl();
// The process-wide cookie store shared by every request that does not opt out.
CURLSH* SharedCookieStore();

// ---- proxy rules ----

struct ProxyEntry {
  Text scheme;  // "" serves every scheme
  Text server;  // "host:port", or with its own "scheme://" in front
};

struct ProxyRules {
  std::vector<ProxyEntry> proxies;
  std::vector<Text> bypass;  // host patterns, "*" as wildcard, "<local>" for dotless names
};

ProxyRules ParseProxyRules(const Text& proxyList, const Text& bypassList);
// The proxy address for a request of `scheme` to `host`; empty for a direct one.
Text ProxyFor(const ProxyRules& rules, const Text& scheme, const Text& host);

// ---- handle table ----

struct Object {
  virtual ~Object() = default;
  // The handle was closed; a call still using the object may be waiting on it.
  virtual void Close() {}
};

struct Session : Object {
  Text agent;
  int accessType = kOpenTypeDirect;
  ProxyRules rules;
};

struct Connection : Object {
  std::shared_ptr<const Session> session;
  Text host;
  int port = 0;
};

class Transfer;

struct Request : Object {
  std::shared_ptr<const Session> session;
  Text url;  // absolute, already escaped for the wire
  Text verb;
  Text version;
  Text referrer;
  std::uint32_t flags = 0;
  std::unique_ptr<Transfer> transfer;  // the last exchange sent
  std::atomic<bool> closed{false};     // ends an exchange another thread waits on
  ~Request() override;
  void Close() override { closed = true; }
};

Handle AddObject(Handle parent, std::shared_ptr<Object> object);
std::shared_ptr<Object> FindObject(Handle handle);
template <class T>
std::shared_ptr<T> Find(Handle handle) {
  return std::dynamic_pointer_cast<T>(FindObject(handle));
}
// Removes the handle and every handle opened through it, closing each; false when it was
// unknown.
bool RemoveObject(Handle handle);

// ---- wire helpers ----

// Folds ASCII letters only; GBK bytes stay as they are.
Text AsciiLower(Text text);
// Percent-escapes the bytes that cannot travel raw in a request line: controls, space,
// DEL and every byte of 0x80 or more (GBK text).
Text EscapeForWire(const Text& text);
// The text up to its first control byte other than a tab: a value that becomes part of a
// header line must not break the line.
Text UpToControl(const Text& text);
// True for a host name or dotted address, or a bracketed IPv6 address.
bool IsValidHost(const Text& host);
// Parses "http://" and "https://" addresses; the lower-case scheme and host of `url`, or
// nothing when it is not such an address.
struct UrlParts {
  Text scheme;
  Text host;
};
std::optional<UrlParts> ParseHttpUrl(const Text& url);
// The caller's CR LF separated header lines as curl wants them; malformed lines are left out.
std::vector<std::string> HeaderLines(const Text& headers);
// True when one of the lines names the header (ASCII case ignored).
bool HasHeader(const std::vector<std::string>& lines, const std::string& name);
// The value of the n-th line (from 0) of the header block named `name`, trimmed.
std::optional<Text> HeaderValue(const std::string& block, const std::string& name, unsigned n);
// A decimal number of up to ten digits that fits 32 bits, nothing else.
std::optional<std::uint32_t> ParseNumber(const Text& text);
// The code of the status line that opens the header block: "HTTP/1.1 404 Not Found".
std::optional<std::uint32_t> StatusCode(const std::string& block);

// ---- exchanges ----

// Sends the request with the caller's header lines and, when given, a body; see
// HttpSendRequest for what it waits for and reports.
bool SendRequest(Request& request, const Text& headers, const std::optional<Bytes>& body);

// One exchange on its own easy and multi handle. The body is pulled from the network in
// large blocks into a bounded buffer and handed out in whatever sizes the reader asks for.
// While it waits on the network it looks about several times a second: it ends once `closed`
// holds, or once it has fallen below the least rate (kLeastBytesPerSecond) for a stall time.
class Transfer {
 public:
  explicit Transfer(const std::atomic<bool>& closed);
  ~Transfer();
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  CURL* Easy() const { return easy_; }
  // Keeps the header list and body alive for the exchange.
  void SetHeaders(curl_slist* headers);
  void SetBody(const Bytes& body);

  // Starts the exchange and waits for the final response's header block. False when the
  // exchange failed before any of the body arrived.
  bool Start();
  // `size` body bytes, fewer only at the end of the body; `read` 0 after the end. False
  // when the transfer failed.
  bool Read(void* buffer, std::size_t size, std::size_t& read);
  const std::string& HeaderBlock() const { return headerBlock_; }

 private:
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
  static int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded);
  std::size_t Unread() const { return buffer_.size() - head_; }
  // Counts bytes that travelled towards the least rate.
  void Count(std::uint64_t bytes);
  void RestartRateWindow();
  bool BelowLeastRate() const;
  // Runs the exchange until the buffer holds body bytes or the exchange has ended.
  void PumpForBody();

  const std::atomic<bool>& closed_;
  CURL* easy_ = nullptr;
  CURLM* multi_ = nullptr;
  curl_slist* headers_ = nullptr;
  Bytes body_;
  std::string headerBlock_;
  bool headerBlockEnded_ = false;  // the blank line that closes the last block arrived
  std::vector<char> buffer_;
  std::size_t head_ = 0;
  bool started_ = false;  // the easy handle is in the multi handle and must leave it first
  bool bodyStarted_ = false;
  bool paused_ = false;
  bool done_ = false;
  CURLcode result_ = CURLE_OK;
  int windowStart_ = 0;            // tick count when the rate's window began
  std::uint64_t windowBytes_ = 0;  // bytes that travelled in it
  curl_off_t uploaded_ = 0;        // body bytes sent so far
};

}  // namespace kesto::inet::backend
