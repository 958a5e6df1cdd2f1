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

#include <map>
#include <mutex>

#include "runtime/inet.h"

namespace kesto::inet {

namespace {

// WinInet's own defaults wait on a silent server for ever; its handles pass these on to every
// handle opened through them.
void SetStallTime(HINTERNET session) {
  DWORD milliseconds = kStallSeconds * 1000;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    InternetSetOptionA(session, option, &milliseconds, sizeof milliseconds);
  }
}

// WinInet ends a body quietly when the connection closes before its Content-Length came, so
// the bytes handed out are counted here and a short body fails its last read, as on POSIX.
// Every handle is noted with the one it was opened through, so that closing a session or
// connection forgets the requests it took along.
struct Noted {
  HINTERNET parent = nullptr;
  std::uint64_t received = 0;
};

class NotedHandles {
 public:
  void Add(HINTERNET handle, HINTERNET parent) {
    if (!handle) return;
    std::lock_guard<std::mutex> lock(mutex_);
    handles_[handle] = Noted{parent, 0};
  }
  void ResetCount(HINTERNET handle) { Count(handle, 0, true); }
  // The bytes handed out so far, after adding `read`.
  std::uint64_t Count(HINTERNET handle, std::uint32_t read, bool reset = false) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = handles_.find(handle);
    if (found == handles_.end()) return read;
    if (reset) found->second.received = 0;
    return found->second.received += read;
  }
  void Remove(HINTERNET handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    RemoveLocked(handle);
  }

 private:
  void RemoveLocked(HINTERNET handle) {
    handles_.erase(handle);
    for (auto it = handles_.begin(); it != handles_.end();) {
      HINTERNET child = it->first;
      ++it;
      auto noted = handles_.find(child);
      if (noted != handles_.end() && noted->second.parent == handle) {
        RemoveLocked(child);
        it = handles_.upper_bound(child);
      }
    }
  }

  std::mutex mutex_;
  std::map<HINTERNET, Noted> handles_;
};

NotedHandles& Handles() {
  static NotedHandles handles;
  return handles;
}

// True when the response promises a body of a known length: a Content-Length without a
// Transfer-Encoding, for a request other than HEAD, and a status that carries a body.
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
  char encoding[64];
  size = sizeof encoding;
  if (HttpQueryInfoA(request, HTTP_QUERY_TRANSFER_ENCODING, encoding, &size, nullptr)) {
    return std::nullopt;
  }
  char length[32] = {};
  size = sizeof length - 1;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, length, &size, nullptr)) {
    return std::nullopt;
  }
  char* end = nullptr;
  const unsigned long long value = strtoull(length, &end, 10);
  if (end == length || *end != '\0') return std::nullopt;
  return value;
}

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
  HINTERNET session = InternetOpenA(agent.c_str(), static_cast<DWORD>(accessType), OrNull(proxy),
                                    OrNull(bypass), flags);
  if (session) SetStallTime(session);
  Handles().Add(session, nullptr);
  return AsHandle(session);
}

// WinInet itself accepts an empty host and any service number here and fails only later.
Handle InternetConnect(Handle session, const Text& host, int port, const Text& user,
                       const Text& password, int service, std::uint32_t flags) {
  if (host.empty() || service != kServiceHttp || port < 0 || port > 65535) return 0;
  HINTERNET connection =
      InternetConnectA(AsInternet(session), host.c_str(), static_cast<INTERNET_PORT>(port),
                       OrNull(user), OrNull(password), INTERNET_SERVICE_HTTP, flags, 0);
  Handles().Add(connection, AsInternet(session));
  return AsHandle(connection);
}

Handle HttpOpenRequest(Handle connection, const Text& verb, const Text& path, const Text& version,
                       const Text& referrer, std::uint32_t flags) {
  HINTERNET request = HttpOpenRequestA(AsInternet(connection), OrNull(verb), path.c_str(),
                                       OrNull(version), OrNull(referrer), nullptr, flags, 0);
  Handles().Add(request, AsInternet(connection));
  return AsHandle(request);
}

bool HttpSendRequest(Handle request, const Text& headers, const Bytes& body) {
  Handles().ResetCount(AsInternet(request));
  return HttpSendRequestA(AsInternet(request), OrNull(headers), static_cast<DWORD>(headers.size()),
                          const_cast<std::uint8_t*>(body.empty() ? nullptr : body.data()),
                          static_cast<DWORD>(body.size())) != FALSE;
}

Handle InternetOpenUrl(Handle session, const Text& url, const Text& headers, std::uint32_t flags) {
  HINTERNET file = InternetOpenUrlA(AsInternet(session), url.c_str(), OrNull(headers),
                                    static_cast<DWORD>(headers.size()), flags, 0);
  Handles().Add(file, AsInternet(session));
  return AsHandle(file);
}

bool InternetReadFile(Handle request, void* buffer, std::uint32_t size, std::uint32_t& read) {
  DWORD got = 0;
  bool ok = ::InternetReadFile(AsInternet(request), buffer, size, &got) != FALSE;
  read = ok ? got : 0;
  const std::uint64_t received = Handles().Count(AsInternet(request), read);
  if (ok && got == 0 && size > 0) {
    const auto promised = PromisedLength(AsInternet(request));
    if (promised && received < *promised) ok = false;
  }
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
  if (handle == 0 || !::InternetCloseHandle(AsInternet(handle))) return false;
  Handles().Remove(AsInternet(handle));
  return true;
}

bool InternetGetConnectedState(std::uint32_t& flags, std::uint32_t reserved) {
  DWORD state = 0;
  bool connected = ::InternetGetConnectedState(&state, reserved) != FALSE;
  flags = state;
  return connected;
}

}  // namespace kesto::inet
