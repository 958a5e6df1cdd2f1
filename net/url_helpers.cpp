#include "net/url_helpers.h"

#include <algorithm>

namespace kesto::net {

namespace {

Text JoinItems(const std::vector<Text>& items, const Text& separator) {
  Text joined;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) joined += separator;
    joined += items[i];
  }
  return joined;
}

bool HasItemNamed(const std::vector<Text>& items, const Text& name) {
  return std::any_of(items.begin(), items.end(),
                     [&](const Text& item) { return CookieName(item) == name; });
}

// Where the host of `url` may begin: after a leading "http://" or "https://", so that a host
// such as "t" or "tp" is not taken for part of the scheme.
int HostSearchStart(const Text& url) {
  for (const Text scheme : {"http://", "https://"}) {
    if (FindText(LeftText(url, TextLength(scheme)), scheme, {}, true) == 1) {
      return TextLength(scheme) + 1;
    }
  }
  return 1;
}

}  // namespace

Text TextBetween(const Text& text, const Text& start, const Text& end) {
  int from = FindText(text, start);
  if (from == -1) return {};
  int after = from + TextLength(start);
  int to = FindText(text, end, after);
  if (to == -1) return {};
  return MidText(text, after, to - after);
}

Text ValueAfterColon(const Text& text) {
  int colon = FindText(text, ":");
  if (colon == -1) return {};
  return TrimBoth(RightText(text, TextLength(text) - colon));
}

Text UrlHost(const Text& url, bool keepPort) {
  Text u = ToLower(url);
  if (RightText(u, 1) != "/") u += "/";
  Text host;
  if (LeftText(u, 8) == "https://") {
    host = TextBetween(u, "https://", "/");
  } else {
    if (FindText(u, "http://") == -1) u = "http://" + u;
    host = TextBetween(u, "http://", "/");
  }
  if (!keepPort) {
    int colon = FindText(host, ":");
    if (colon != -1) host = LeftText(host, colon - 1);
  }
  return host;
}

bool IsSecureUrl(const Text& url) {
  return ToLower(LeftText(url, 5)) == "https";
}

int UrlPort(const Text& url) {
  Text host = UrlHost(url, true);
  int colon = FindLastText(host, ":");
  if (colon != -1) return ToInteger(RightText(host, TextLength(host) - colon));
  return IsSecureUrl(url) ? 443 : 80;
}

Text UrlPath(const Text& url) {
  Text host = UrlHost(url);
  int start = HostSearchStart(url);
  int at = host.empty() ? start : FindText(url, host, start, true);
  int slash = at == -1 ? -1 : FindText(url, "/", at);
  if (slash == -1) return "/";
  return RightText(url, TextLength(url) - slash + 1);
}

Text CookieName(const Text& item) {
  int equals = FindText(item, "=");
  return TrimBoth(equals == -1 ? item : LeftText(item, equals - 1));
}

Text MergeCookies(Text& cookies, Text& responseCookies) {
  cookies = RemoveSpaces(cookies);
  responseCookies = RemoveSpaces(responseCookies);
  std::vector<Text> merged = SplitText(responseCookies, ";").Items();
  for (const Text& item : SplitText(cookies, ";")) {
    if (!HasItemNamed(merged, CookieName(item))) merged.push_back(item);
  }
  std::erase_if(merged, [](const Text& item) { return RightText(item, 8) == "=deleted"; });
  cookies = RemoveDuplicateItems(JoinItems(merged, "; "), "; ");
  return cookies;
}

Text RemoveDuplicateItems(const Text& text, const Text& separator) {
  std::vector<Text> kept;
  for (const Text& item : SplitText(text, separator)) {
    if (std::find(kept.begin(), kept.end(), item) == kept.end()) kept.push_back(item);
  }
  return JoinItems(kept, separator);
}

}  // namespace kesto::net
