// The internet operations on WinInet itself, which the seam was shaped after. The A functions
// are called: host names, paths and header lines travel on the wire as bytes, so they are
// passed as they stand rather than through the system's code page.
#include <windows.h>
#include <wininet.h>

// The seam's operations share their names with WinInet's character-set macros.
#undef InternetOpen
#undef InternetConnect
#undef HttpOpenRequest
#undef HttpSendRequest
#undef InternetOpenUrl
#undef HttpQueryInfo

#include "runtime/inet.h"

namespace kesto::inet {

namespace {

HINTERNET AsInternet(Handle handle) {
  return reinterpret_cast<HINTERNET>(handle);
}

Handle AsHandle(HINTERNET internet) {
  return reinterpret_cast<Handle>(internet);
}

// An optional text as WinInet takes it: a null pointer when absent.
const char* OrNull(const std::optional<Text>& text) {
  return text ? text->c_str() : nullptr;
}

const char* OrNull(const Text& text) {
  return text.empty() ? nullptr : text.c_str();
}

}  // namespace

Handle InternetOpen(const Text& agent, int accessType, const std::optional<Text>& proxy,
                    const std::optional<Text>& bypass, std::uint32_t flags) {
  return AsHandle(InternetOpenA(agent.c_str(), static_cast<DWORD>(accessType), OrNull(proxy),
                                OrNull(bypass), flags));
}

// WinInet itself accepts an empty host and any service number here and fails only later.
Handle InternetConnect(Handle session, const Text& host, int port, const Text& user,
                       const Text& password, int service, std::uint32_t flags) {
  if (host.empty() || service != kServiceHttp || port < 0 || port > 65535) return 0;
  return AsHandle(InternetConnectA(AsInternet(session), host.c_str(),
                                   static_cast<INTERNET_PORT>(port), OrNull(user), OrNull(password),
                                   INTERNET_SERVICE_HTTP, flags, 0));
}

Handle HttpOpenRequest(Handle connection, const Text& verb, const Text& path, const Text& version,
                       const Text& referrer, std::uint32_t flags) {
  return AsHandle(HttpOpenRequestA(AsInternet(connection), OrNull(verb), path.c_str(),
                                   OrNull(version), OrNull(referrer), nullptr, flags, 0));
}

bool HttpSendRequest(Handle request, const Text& headers, const Bytes& body) {
  return HttpSendRequestA(AsInternet(request), OrNull(headers), static_cast<DWORD>(headers.size()),
                          const_cast<std::uint8_t*>(body.empty() ? nullptr : body.data()),
                          static_cast<DWORD>(body.size())) != FALSE;
}

Handle InternetOpenUrl(Handle session, const Text& url, const Text& headers, std::uint32_t flags) {
  return AsHandle(InternetOpenUrlA(AsInternet(session), url.c_str(), OrNull(headers),
                                   static_cast<DWORD>(headers.size()), flags, 0));
}

bool InternetReadFile(Handle request, void* buffer, std::uint32_t size, std::uint32_t& read) {
  DWORD got = 0;
  bool ok = ::InternetReadFile(AsInternet(request), buffer, size, &got) != FALSE;
  read = ok ? got : 0;
  return ok;
}

bool HttpQueryInfo(Handle request, std::uint32_t infoLevel, void* buffer, std::uint32_t& length,
                   std::uint32_t* index) {
  DWORD size = length;
  DWORD at = index ? *index : 0;
  bool ok =
      HttpQueryInfoA(AsInternet(request), infoLevel, buffer, &size, index ? &at : nullptr) != FALSE;
  length = size;
  if (index) *index = at;
  return ok;
}

bool InternetCloseHandle(Handle handle) {
  return handle != 0 && ::InternetCloseHandle(AsInternet(handle)) != FALSE;
}

bool InternetGetConnectedState(std::uint32_t& flags, std::uint32_t reserved) {
  DWORD state = 0;
  bool connected = ::InternetGetConnectedState(&state, reserved) != FALSE;
  flags = state;
  return connected;
}

}  // namespace kesto::inet
