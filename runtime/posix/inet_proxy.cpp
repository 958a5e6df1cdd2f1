// Proxy lists in the WinInet form: "[scheme=]server" entries, and bypass host patterns.
#include "runtime/posix/inet_backend.h"

namespace kesto::inet::backend {

namespace {

std::vector<Text> ListItems(const Text& list) {
  std::vector<Text> items;
  Text item;
  for (char c : list) {
    if (c == ' ' || c == ';' || c == '\t' || c == '\r' || c == '\n') {
      if (!item.empty()) items.push_back(item);
      item.clear();
    } else {
      item += c;
    }
  }
  if (!item.empty()) items.push_back(item);
  return items;
}

// "*" stands for any run of characters; both sides come lower-cased.
bool Matches(const Text& pattern, const Text& text) {
  std::size_t p = 0, t = 0, star = Text::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (star != Text::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool Bypassed(const std::vector<Text>& bypass, const Text& host) {
  for (const Text& pattern : bypass) {
    if (pattern == "<local>" ? host.find('.') == Text::npos : Matches(pattern, host)) return true;
  }
  return false;
}

}  // namespace

ProxyRules ParseProxyRules(const Text& proxyList, const Text& bypassList) {
  ProxyRules rules;
  for (const Text& item : ListItems(proxyList)) {
    std::size_t equals = item.find('=');
    if (equals == Text::npos) {
      rules.proxies.push_back({"", item});
    } else if (equals + 1 < item.size()) {
      rules.proxies.push_back({AsciiLower(item.substr(0, equals)), item.substr(equals + 1)});
    }
  }
  for (const Text& item : ListItems(bypassList)) rules.bypass.push_back(AsciiLower(item));
  return rules;
}

Text ProxyFor(const ProxyRules& rules, const Text& scheme, const Text& host) {
  if (Bypassed(rules.bypass, AsciiLower(host))) return "";
  // An entry for the request's own scheme wins over one for every scheme.
  const ProxyEntry* chosen = nullptr;
  for (const ProxyEntry& entry : rules.proxies) {
    if (entry.scheme == scheme) {
      chosen = &entry;
      break;
    }
    if (entry.scheme.empty() && !chosen) chosen = &entry;
  }
  if (!chosen) return "";
  if (chosen->server.find("://") != Text::npos) return chosen->server;
  return "http://" + chosen->server;
}

}  // namespace kesto::inet::backend
