// Internet operations shaped like the WinInet calls the platform makes: a session, a connection
// and a request (or a URL opened in one step), each named by an integer handle, read in the
// caller's chunks. Texts are GBK byte strings; failures come back as 0 handles and false.
// Any thread may use any handle, one thread at a time per handle.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/core.h"

namespace kesto::inet {

// 0 is never a valid handle.
using Handle = std::intptr_t;

// Session access types.
enum AccessType : int {
  kOpenTypePreconfig = 0,  // the system's proxy settings (the environment on POSIX)
  kOpenTypeDirect = 1,
  kOpenTypeProxy = 3,                     // the proxy list given to InternetOpen
  kOpenTypePreconfigWithNoAutoproxy = 4,  // the same here: POSIX has no proxy discovery
};

// A server that sends nothing for this long, while a connection is made, a request sent or a
// response read, fails the call: a server that stops answering costs a minute, not for ever.
constexpr int kStallSeconds = 60;
// Nor may a server keep a transfer alive with a trickle: fewer bytes than this many a second of
// the stall time (7,680 in the product's minute), counted from the request and again each time
// that many have come, fail the call once the stall time is over. A slow line of 2 KB/s brings
// sixteen times that. (On Windows the bytes of the response's header block are not counted.)
constexpr int kLeastBytesPerSecond = 128;

// The stall time in force: kStallSeconds, but for a program built for the tests, which takes
// a shorter one from KESTO_TEST_STALL_SECONDS in its environment.
int StallSeconds();

constexpr int kServiceHttp = 3;
// Port 0 asks for the scheme's default port (80, or 443 for a secure request).
constexpr int kInvalidPortNumber = 0;

// Request and URL flags, with their WinInet values.
enum RequestFlag : std::uint32_t {
  kFlagReload = 0x80000000,
  kFlagNoCacheWrite = 0x04000000,
  kFlagSecure = 0x00800000,
  kFlagNoAutoRedirect = 0x00200000,
  kFlagNoCookies = 0x00080000,
  kFlagIgnoreRedirectToHttp = 0x00008000,
  kFlagIgnoreRedirectToHttps = 0x00004000,
  kFlagPragmaNoCache = 0x00000100,
  kFlagNeedFile = 0x00000010,
};

// HttpQueryInfo levels and modifiers.
enum QueryInfo : std::uint32_t {
  kQueryContentLength = 5,
  kQueryStatusCode = 19,
  kQueryRawHeadersCrlf = 22,
  kQueryFlagNumber = 0x20000000,
};

// InternetGetConnectedState flags.
enum ConnectionFlag : std::uint32_t {
  kConnectionModem = 0x01,
  kConnectionLan = 0x02,
  kConnectionProxy = 0x04,
  kConnectionOffline = 0x20,
};

// Opens a session. A proxy list holds entries "[scheme=]host[:port]" separated by spaces or
// ";"; an entry with a scheme serves only that scheme ("http=h:8080" leaves https direct).
// The bypass list holds host names, "*" patterns such as "*.example.com", and "<local>" for
// names without a dot. With kOpenTypeProxy a session without any proxy entry fails.
Handle InternetOpen(const Text& agent, int accessType, const std::optional<Text>& proxy,
                    const std::optional<Text>& bypass, std::uint32_t flags);

// Names the server of later requests; nothing travels yet. Fails on an empty or malformed
// host, a port outside 0..65535, or a service other than HTTP.
Handle InternetConnect(Handle session, const Text& host, int port, const Text& user,
                       const Text& password, int service, std::uint32_t flags);

// Prepares a request for `path` on the connection's server. An empty verb means "GET", an
// empty version "HTTP/1.1"; a non-empty referrer is sent as the Referer line.
Handle HttpOpenRequest(Handle connection, const Text& verb, const Text& path, const Text& version,
                       const Text& referrer, std::uint32_t flags);

// Sends the request with extra header lines (separated by CR LF) and an optional body, and
// waits for the response's header block. Redirects are followed unless the request says
// otherwise; a redirect from http to https is followed only with kFlagIgnoreRedirectToHttps
// and one from https to http only with kFlagIgnoreRedirectToHttp. False when no response
// could be received; the headers received so far can still be queried.
bool HttpSendRequest(Handle request, const Text& headers, const Bytes& body);

// Opens an "http://" or "https://" address in one step: connects, sends the header lines and
// waits for the response's header block. 0 when that fails.
Handle InternetOpenUrl(Handle session, const Text& url, const Text& headers, std::uint32_t flags);

// Fills `buffer` with `size` body bytes, fewer only where the body ends; `read` becomes 0
// after the end of the body.
// False, with `read` 0, when the transfer has failed (connection dropped, body shorter than
// announced) and no byte is left to hand out.
bool InternetReadFile(Handle request, void* buffer, std::uint32_t size, std::uint32_t& read);

// Answers a query about the response, like HttpQueryInfoA:
// - kQueryRawHeadersCrlf: the response's header block, status line first, each line ended by
//   CR LF and the block by an empty line, written into `buffer` with a terminating zero byte.
//   When `length` leaves no room for it all, fails and sets `length` to the size needed.
//   On success `length` is the count of bytes written without the zero.
// - kQueryContentLength | kQueryFlagNumber: the value as a 4-byte unsigned number; fails when
//   the response has no such line or its value is not a number that fits. Without
//   kQueryFlagNumber the value comes as text, written like the header block.
// - kQueryStatusCode | kQueryFlagNumber: the final response's status code as a 4-byte number.
// `index`, when given, picks the occurrence of a repeated line (0 is the first) and is
// advanced on success.
bool HttpQueryInfo(Handle request, std::uint32_t infoLevel, void* buffer, std::uint32_t& length,
                   std::uint32_t* index);

// The final response's status code; 0 when there is none.
inline int StatusCodeOf(Handle request) {
  std::uint32_t code = 0;
  std::uint32_t length = sizeof code;
  if (!HttpQueryInfo(request, kQueryStatusCode | kQueryFlagNumber, &code, length, nullptr))
    return 0;
  return static_cast<int>(code);
}

// Closes a handle and everything opened through it; false for an unknown handle. Another
// thread may close a handle that a call is waiting on (or the session or connection it was
// opened through): that call then fails within a second.
bool InternetCloseHandle(Handle handle);

// Reports through `flags` how the machine reaches the network (kConnection*); true when it
// has a connection other than loopback.
bool InternetGetConnectedState(std::uint32_t& flags, std::uint32_t reserved);

}  // namespace kesto::inet
