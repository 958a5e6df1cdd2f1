#include "runtime/toolkit_front/page_addresses.h"

#include <optional>

namespace kesto::front {

namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

Text AsciiLower(Text text) {
  for (char& c : text) c = AsciiLower(c);
  return text;
}

bool HasControlCharacter(const Text& text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return true;
  }
  return false;
}

// Where a page comes from: scheme, host in lower case and port.
struct Site {
  Text scheme;
  Text host;
  int port = 0;
};

// The port as written, the scheme's usual one when none is; nullopt when it is no port number.
std::optional<int> PortOf(const Text& written, const Text& scheme) {
  if (written.empty()) return scheme == "https" ? 443 : 80;
  if (written.size() > 5) return std::nullopt;
  int port = 0;
  for (const char c : written) {
    if (!IsAsciiDigit(c)) return std::nullopt;
    port = port * 10 + (c - '0');
  }
  if (port > 65535) return std::nullopt;
  return port;
}

// The site of an http or https address; nullopt for any other address.
std::optional<Site> SiteOf(const Text& address) {
  const Text full = WithScheme(address);
  Site site{SchemeOf(full), {}, 0};
  if (site.scheme != "http" && site.scheme != "https") return std::nullopt;
  const std::size_t start = site.scheme.size() + 3;
  if (full.compare(site.scheme.size(), 3, "://") != 0) return std::nullopt;
  // A browser reads "\" as "/" in web addresses.
  Text authority = full.substr(start, full.find_first_of("/?#\\", start) - start);
  if (const std::size_t at = authority.rfind('@'); at != Text::npos) authority.erase(0, at + 1);
  std::size_t hostEnd = authority.find(':');
  if (!authority.empty() && authority[0] == '[') {  // an IPv6 address
    hostEnd = authority.find(']');
    if (hostEnd == Text::npos) return std::nullopt;
    if (++hostEnd < authority.size() && authority[hostEnd] != ':') return std::nullopt;
  }
  site.host = AsciiLower(authority.substr(0, hostEnd));
  if (site.host.empty()) return std::nullopt;
  const Text port = hostEnd < authority.size() ? authority.substr(hostEnd + 1) : Text{};
  const std::optional<int> number = PortOf(port, site.scheme);
  if (!number) return std::nullopt;
  site.port = *number;
  return site;
}

}  // namespace

Text SchemeOf(const Text& address) {
  const std::size_t colon = address.find(':');
  if (colon == 0 || colon == Text::npos || !IsAsciiLetter(address[0])) return {};
  for (std::size_t i = 1; i < colon; ++i) {
    const char c = address[i];
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '+' && c != '-' && c != '.') return {};
  }
  std::size_t afterPort = colon + 1;
  while (afterPort < address.size() && IsAsciiDigit(address[afterPort])) ++afterPort;
  const bool hostAndPort =
      afterPort > colon + 1 &&
      (afterPort == address.size() || Text("/?#").find(address[afterPort]) != Text::npos);
  if (hostAndPort) return {};
  return AsciiLower(address.substr(0, colon));
}

Text WithScheme(const Text& address) {
  return SchemeOf(address).empty() ? "http://" + address : address;
}

Text DesktopAddress(const Text& address) {
  if (address.empty() || HasControlCharacter(address)) return {};
  const Text full = WithScheme(address);
  const Text scheme = SchemeOf(full);
  if (scheme != "http" && scheme != "https" && scheme != "mailto") return {};
  return full;
}

bool IsOwnPage(const Text& pageAddress, const Text& ownAddress) {
  const std::optional<Site> page = SiteOf(pageAddress);
  const std::optional<Site> own = SiteOf(ownAddress);
  if (!page || !own || page->host != own->host) return false;
  if (page->scheme == own->scheme) return page->port == own->port;
  return own->scheme == "http" && own->port == 80 && page->port == 443;
}

}  // namespace kesto::front
