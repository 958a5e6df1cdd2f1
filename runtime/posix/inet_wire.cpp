// Small helpers for what goes on the wire: escaped addresses, host names, header lines.
#include <strings.h>

#include <algorithm>
#include <limits>

#include "runtime/posix/inet_backend.h"

namespace kesto::inet::backend {

namespace {

bool IsAsciiAlnum(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsHexDigit(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string TrimBlanks(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

Text AsciiLower(Text text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

Text EscapeForWire(const Text& text) {
  static const char digits[] = "0123456789ABCDEF";
  Text out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    if (c <= 0x20 || c >= 0x7F) {
      out += '%';
      out += digits[c >> 4];
      out += digits[c & 0x0F];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

Text UpToControl(const Text& text) {
  auto control =
      std::find_if(text.begin(), text.end(), [](unsigned char c) { return c < 0x20 && c != '\t'; });
  return Text(text.begin(), control);
}

bool IsValidHost(const Text& host) {
  if (host.empty() || host.size() > 255) return false;
  if (host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return false;
    for (std::size_t i = 1; i + 1 < host.size(); ++i) {
      unsigned char c = host[i];
      if (!IsHexDigit(c) && c != ':' && c != '.') return false;
    }
    return true;
  }
  for (unsigned char c : host) {
    if (!IsAsciiAlnum(c) && c != '-' && c != '.' && c != '_') return false;
  }
  return true;
}

std::optional<UrlParts> ParseHttpUrl(const Text& url) {
  // The host must follow "scheme://" at once: libcurl would also take "http:/h" or
  // "http:///h" for an address of h.
  std::size_t marker = url.find("://");
  Text prefix = AsciiLower(url.substr(0, marker));
  if (marker == Text::npos || (prefix != "http" && prefix != "https") || marker + 3 >= url.size() ||
      Text("/\\?#").find(url[marker + 3]) != Text::npos) {
    return std::nullopt;
  }
  CURLU* parsed = curl_url();
  std::optional<UrlParts> parts;
  char* scheme = nullptr;
  char* host = nullptr;
  if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK) {
    UrlParts found{AsciiLower(scheme), AsciiLower(host)};
    if ((found.scheme == "http" || found.scheme == "https") && IsValidHost(found.host)) {
      parts = found;
    }
  }
  curl_free(scheme);
  curl_free(host);
  curl_url_cleanup(parsed);
  return parts;
}

std::vector<std::string> HeaderLines(const Text& headers) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= headers.size()) {
    std::size_t end = headers.find('\n', start);
    if (end == std::string::npos) end = headers.size();
    std::string line = headers.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t colon = line.find(':');
    if (colon == 0 || colon == std::string::npos) continue;
    bool clean = true;
    for (std::size_t i = 0; i < line.size() && clean; ++i) {
      unsigned char c = line[i];
      if (i < colon)
        clean = c > 0x20 && c < 0x7F;
      else
        clean = c >= 0x20 || c == '\t';
    }
    if (!clean) continue;
    // curl drops a header whose value is empty; "Name;" makes it send "Name:" instead.
    if (TrimBlanks(line.substr(colon + 1)).empty()) line = line.substr(0, colon) + ";";
    lines.push_back(line);
  }
  return lines;
}

bool HasHeader(const std::vector<std::string>& lines, const std::string& name) {
  for (const std::string& line : lines) {
    std::size_t end = line.find_first_of(":;");
    if (SameName(line.substr(0, end), name)) return true;
  }
  return false;
}

std::optional<Text> HeaderValue(const std::string& block, const std::string& name, unsigned n) {
  std::size_t start = block.find("\r\n");  // past the status line
  while (start != std::string::npos && start + 2 < block.size()) {
    start += 2;
    std::size_t end = block.find("\r\n", start);
    std::string line = block.substr(start, end == std::string::npos ? end : end - start);
    std::size_t colon = line.find(':');
    if (colon != std::string::npos && SameName(TrimBlanks(line.substr(0, colon)), name)) {
      if (n == 0) return TrimBlanks(line.substr(colon + 1));
      --n;
    }
    start = end;
  }
  return std::nullopt;
}

std::optional<std::uint32_t> ParseNumber(const Text& text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::optional<std::uint32_t> StatusCode(const std::string& block) {
  std::size_t space = block.find(' ');
  std::size_t lineEnd = block.find("\r\n");
  if (space == std::string::npos || space > lineEnd) return std::nullopt;
  std::size_t end = block.find_first_of(" \r", space + 1);
  return ParseNumber(block.substr(space + 1, end - space - 1));
}

}  // namespace kesto::inet::backend
