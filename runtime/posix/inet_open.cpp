// Opening and closing internet handles: sessions, connections, requests and whole URLs, and
// the machine's connected state.
#include <ifaddrs.h>
#include <net/if.h>

#include <cstdlib>

#include "runtime/posix/inet_backend.h"

namespace kesto::inet {

using namespace backend;

namespace {

bool IsVerb(const Text& verb) {
  for (unsigned char c : verb) {
    if (c <= 0x20 || c >= 0x7F) return false;
  }
  return true;
}

bool EnvironmentNamesProxy() {
  for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace

Handle InternetOpen(const Text& agent, int accessType, const std::optional<Text>& proxy,
                    const std::optional<Text>& bypass, std::uint32_t) {
  if (accessType != kOpenTypePreconfig && accessType != kOpenTypeDirect &&
      accessType != kOpenTypeProxy && accessType != kOpenTypePreconfigWithNoAutoproxy) {
    return 0;
  }
  auto session = std::make_shared<Session>();
  session->agent = UpToControl(agent);
  session->accessType = accessType;
  if (accessType == kOpenTypeProxy) {
    session->rules = ParseProxyRules(proxy.value_or(""), bypass.value_or(""));
    if (session->rules.proxies.empty()) return 0;
  }
  EnsureCurl();
  return AddObject(0, std::move(session));
}

Handle InternetConnect(Handle session, const Text& host, int port, const Text&, const Text&,
                       int service, std::uint32_t) {
  std::shared_ptr<Session> found = Find<Session>(session);
  if (!found || service != kServiceHttp || !IsValidHost(host) || port < 0 || port > 65535) {
    return 0;
  }
  auto connection = std::make_shared<Connection>();
  connection->session = found;
  connection->host = AsciiLower(host);
  connection->port = port;
  return AddObject(session, std::move(connection));
}

Handle HttpOpenRequest(Handle connection, const Text& verb, const Text& path, const Text& version,
                       const Text& referrer, std::uint32_t flags) {
  std::shared_ptr<Connection> found = Find<Connection>(connection);
  if (!found || !IsVerb(verb)) return 0;
  bool secure = flags & kFlagSecure;
  int port = found->port != kInvalidPortNumber ? found->port : secure ? 443 : 80;
  Text object = path.empty() || path.front() != '/' ? "/" + path : path;
  auto request = std::make_shared<Request>();
  request->session = found->session;
  request->url = Text(secure ? "https://" : "http://") + found->host + ":" + std::to_string(port) +
                 EscapeForWire(object);
  request->verb = verb.empty() ? "GET" : verb;
  request->version = version;
  request->referrer = UpToControl(referrer);
  request->flags = flags;
  if (!ParseHttpUrl(request->url)) return 0;
  return AddObject(connection, std::move(request));
}

Handle InternetOpenUrl(Handle session, const Text& url, const Text& headers, std::uint32_t flags) {
  std::shared_ptr<Session> found = Find<Session>(session);
  if (!found) return 0;
  auto request = std::make_shared<Request>();
  request->session = found;
  request->url = EscapeForWire(url);
  if (!ParseHttpUrl(request->url)) return 0;
  request->verb = "GET";
  request->flags = flags;
  // In the table while it is sent, so that closing the session ends the wait.
  const Handle handle = AddObject(session, request);
  if (!SendRequest(*request, headers, std::nullopt)) {
    RemoveObject(handle);
    return 0;
  }
  return handle;
}

bool InternetCloseHandle(Handle handle) {
  return RemoveObject(handle);
}

bool InternetGetConnectedState(std::uint32_t& flags, std::uint32_t) {
  flags = 0;
  ifaddrs* interfaces = nullptr;
  if (getifaddrs(&interfaces) == 0) {
    for (ifaddrs* item = interfaces; item; item = item->ifa_next) {
      bool up = (item->ifa_flags & IFF_UP) && !(item->ifa_flags & IFF_LOOPBACK);
      if (up && item->ifa_addr &&
          (item->ifa_addr->sa_family == AF_INET || item->ifa_addr->sa_family == AF_INET6)) {
        flags |= kConnectionLan;
      }
    }
    freeifaddrs(interfaces);
  }
  if (EnvironmentNamesProxy()) flags |= kConnectionProxy;
  return flags & kConnectionLan;
}

}  // namespace kesto::inet
