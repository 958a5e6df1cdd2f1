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

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

#include "runtime/inet.h"
#include "runtime/win32/inet_handle_notes.h"
#include "runtime/win32/inet_leavable_call.h"

namespace kesto::inet {

namespace {

using win32::CallLeavably;
using win32::HandleNote;
using win32::Notes;

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

// WinInet's own defaults wait on a silent server for ever. A request takes its send and receive
// time-outs from the connection it is opened through, not from the session: both get them.
void SetStallTime(HINTERNET handle) {
  DWORD milliseconds = StallSeconds() * 1000;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    InternetSetOptionA(handle, option, &milliseconds, sizeof milliseconds);
  }
}

// A body of a known length: a Content-Length without a Transfer-Encoding, for a request other
// than HEAD, with a status that carries a body.
std::optional<std::uint64_t> PromisedLength(HINTERNET request) {
  char verb[16] = {};
  DWORD size = sizeof verb;
  if (HttpQueryInfoA(request, HTTP_QUERY_REQUEST_METHOD | HTTP_QUERY_FLAG_REQUEST_HEADERS, verb,
                     &size, nullptr) &&
      lstrcmpiA(verb, "HEAD") == 0) {
    return std::nullopt;
  }
  DWORD status = 0;
  size = sizeof status;
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr) ||
      status < 200 || status == 204 || status == 304) {
    return std::nullopt;
  }
  char text[64];
  size = sizeof text;
  if (HttpQueryInfoA(request, HTTP_QUERY_TRANSFER_ENCODING, text, &size, nullptr)) {
    return std::nullopt;
  }
  size = sizeof text - 1;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) {
    return std::nullopt;
  }
  text[size] = '\0';
  char* end = nullptr;
  const unsigned long long length = std::strtoull(text, &end, 10);
  if (end == text || *end != '\0') return std::nullopt;
  return length;
}

Handle OpenRequest(HINTERNET connection, const char* verb, const char* path, const char* version,
                   const char* referrer, std::uint32_t flags, HINTERNET ownedConnection) {
  HINTERNET request =
      HttpOpenRequestA(connection, verb, path, version, referrer, nullptr, flags, 0);
  Notes().Add(request, connection, ownedConnection);
  return AsHandle(request);
}

}  // namespace

Handle InternetOpen(const Text& agent, int accessType, const std::optional<Text>& proxy,
                    const std::optional<Text>& bypass, std::uint32_t flags) {
  HINTERNET session = InternetOpenA(agent.c_str(), static_cast<DWORD>(accessType), OrNull(proxy),
                                    OrNull(bypass), flags);
  if (session) SetStallTime(session);
  Notes().Add(session, nullptr);
  return AsHandle(session);
}

// WinInet itself accepts an empty host, one with blanks or control bytes, and any service
// number here, and fails only later.
Handle InternetConnect(Handle session, const Text& host, int port, const Text& user,
                       const Text& password, int service, std::uint32_t flags) {
  const bool blank = std::any_of(host.begin(), host.end(), [](char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '\x7F';
  });
  if (host.empty() || blank || service != kServiceHttp || port < 0 || port > 65535) return 0;
  HINTERNET connection =
      InternetConnectA(AsInternet(session), host.c_str(), static_cast<INTERNET_PORT>(port),
                       OrNull(user), OrNull(password), INTERNET_SERVICE_HTTP, flags, 0);
  if (connection) SetStallTime(connection);
  Notes().Add(connection, AsInternet(session));
  return AsHandle(connection);
}

Handle HttpOpenRequest(Handle connection, const Text& verb, const Text& path, const Text& version,
                       const Text& referrer, std::uint32_t flags) {
  return OpenRequest(AsInternet(connection), OrNull(verb), path.c_str(), OrNull(version),
                     OrNull(referrer), flags, nullptr);
}

bool HttpSendRequest(Handle request, const Text& headers, const Bytes& body) {
  const HINTERNET file = AsInternet(request);
  Notes().Restart(file);
  DWORD unused = 0;
  return CallLeavably(
      file,
      [file, headers, body](DWORD&) {
        return HttpSendRequestA(file, OrNull(headers), static_cast<DWORD>(headers.size()),
                                const_cast<std::uint8_t*>(body.empty() ? nullptr : body.data()),
                                static_cast<DWORD>(body.size()));
      },
      unused);
}

// WinInet's own InternetOpenUrl makes its connection inside, where no time-out can be set on
// it, and then waits on a silent server for ever: the address is opened here as a connection
// and a GET request, the request's handle owning the connection.
Handle InternetOpenUrl(Handle session, const Text& url, const Text& headers, std::uint32_t flags) {
  char scheme[16] = {}, host[INTERNET_MAX_HOST_NAME_LENGTH] = {};
  char user[256] = {}, password[256] = {};
  Text path(url.size() + 1, '\0');
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszScheme = scheme;
  parts.dwSchemeLength = sizeof scheme;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.lpszUserName = user;
  parts.dwUserNameLength = sizeof user;
  parts.lpszPassword = password;
  parts.dwPasswordLength = sizeof password;
  parts.lpszUrlPath = path.data();
  parts.dwUrlPathLength = static_cast<DWORD>(path.size());
  if (!session || !InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
    return 0;
  }
  const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  if ((parts.nScheme != INTERNET_SCHEME_HTTP && !secure) || host[0] == '\0') return 0;
  path.resize(parts.dwUrlPathLength);
  if (path.empty()) path = "/";

  const Handle connection =
      InternetConnect(session, host, parts.nPort, user, password, kServiceHttp, 0);
  if (!connection) return 0;
  const Handle request =
      OpenRequest(AsInternet(connection), "GET", path.c_str(), nullptr, nullptr,
                  flags | (secure ? INTERNET_FLAG_SECURE : 0), AsInternet(connection));
  if (!request || !HttpSendRequest(request, headers, {})) {
    InternetCloseHandle(request ? request : connection);
    return 0;
  }
  return request;
}

// A failed transfer may come with the bytes that arrived before it: those are handed out now
// and the failure on the next read. WinInet ends a body quietly when the connection closes
// before its Content-Length came; such a body fails its last read, as on POSIX.
// WinInet fills a buffer before it returns, which a trickling server may make last for ever:
// the buffer is filled here from what WinInet holds, waiting (leavably) for more only when it
// holds nothing, and the least rate is checked after each receive.
bool InternetReadFile(Handle request, void* buffer, std::uint32_t size, std::uint32_t& read) {
  read = 0;
  const HINTERNET file = AsInternet(request);
  bool failedBefore = true;
  Notes().Use(file, [&](HandleNote& note) { failedBefore = note.failed; });
  if (failedBefore) return false;
  const std::uint64_t leastBytes = std::uint64_t{kLeastBytesPerSecond} * StallSeconds();
  const DWORD stallMilliseconds = StallSeconds() * 1000;
  DWORD got = 0;
  bool ok = true;
  bool ended = size == 0;
  bool tooSlow = false;
  while (got < size && ok && !tooSlow && !ended) {
    DWORD held = 0;
    ok = Notes().Use(file, [&](HandleNote& note) { held = note.buffered; });
    if (ok && held == 0) {
      ok = CallLeavably(
          file,
          [file](DWORD& available) { return ::InternetQueryDataAvailable(file, &available, 0, 0); },
          held);
    }
    DWORD step = 0;
    if (ok && held > 0) {
      ok = Notes().Use(file, [&](HandleNote& note) {
        if (!::InternetReadFile(file, static_cast<char*>(buffer) + got,
                                std::min<DWORD>(size - got, held), &step)) {
          step = 0;
          note.failed = true;
        }
        note.buffered = held - step;
        note.windowBytes += step;
        if (note.windowBytes >= leastBytes) {
          note.windowStart = GetTickCount();
          note.windowBytes = 0;
        }
        tooSlow = GetTickCount() - note.windowStart >= stallMilliseconds;
      });
    }
    ended = ok && step == 0;
    got += step;
  }
  bool failed = true;
  Notes().Use(file, [&](HandleNote& note) {
    const std::optional<std::uint64_t> promised =
        ended && got == 0 && size > 0 ? PromisedLength(file) : std::optional<std::uint64_t>{};
    note.received += got;
    note.failed = note.failed || !ok || tooSlow || (promised && note.received < *promised);
    failed = note.failed;
  });
  read = got;
  return got > 0 || !failed;
}

bool HttpQueryInfo(Handle request, std::uint32_t infoLevel, void* buffer, std::uint32_t& length,
                   std::uint32_t* index) {
  DWORD size = length;
  DWORD at = index ? *index : 0;
  bool ok = false;
  Notes().Use(AsInternet(request), [&](HandleNote&) {
    ok = HttpQueryInfoA(AsInternet(request), infoLevel, buffer, &size, index ? &at : nullptr) !=
         FALSE;
  });
  length = size;
  if (index) *index = at;
  return ok;
}

bool InternetCloseHandle(Handle handle) {
  return handle != 0 && Notes().Close(AsInternet(handle));
}

bool InternetGetConnectedState(std::uint32_t& flags, std::uint32_t reserved) {
  DWORD state = 0;
  bool connected = ::InternetGetConnectedState(&state, reserved) != FALSE;
  flags = state;
  return connected;
}

}  // namespace kesto::inet
