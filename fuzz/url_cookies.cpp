// URL helpers and cookie merging: any address gives a host without port or upper-case letters
// and a path that starts with "/"; merged cookies hold every item of the response, no deleted
// item and no item twice.
#include <algorithm>

#include "fuzz/fuzz_check.h"
#include "net/url_helpers.h"

namespace {

using kesto::Text;
using kesto::fuzz::InputReader;

void CheckAddress(const Text& url) {
  Text host = kesto::net::UrlHost(url);
  FUZZ_CHECK(kesto::FindText(host, ":") == -1);
  FUZZ_CHECK(kesto::ToLower(host) == host);
  FUZZ_CHECK(kesto::FindText(kesto::net::UrlHost(url, true), host) == 1 || host.empty());
  kesto::net::UrlPort(url);
  Text path = kesto::net::UrlPath(url);
  FUZZ_CHECK(!path.empty() && path.front() == '/');
}

std::vector<Text> Items(const Text& text, const Text& separator) {
  return kesto::SplitText(text, separator).Items();
}

void CheckCookies(const Text& callerCookies, const Text& responseCookies) {
  Text cookies = callerCookies;
  Text response = responseCookies;
  Text merged = kesto::net::MergeCookies(cookies, response);
  FUZZ_CHECK(merged == cookies);
  FUZZ_CHECK(response == kesto::RemoveSpaces(responseCookies));
  std::vector<Text> items = Items(merged, "; ");
  for (const Text& item : items) {
    FUZZ_CHECK(kesto::RightText(item, 8) != "=deleted");
    FUZZ_CHECK(std::count(items.begin(), items.end(), item) == 1);
  }
  // A lone lead byte before a separator takes it for its second byte: only whole texts are
  // held to their items.
  if (!kesto::fuzz::IsWholeGbk(callerCookies) || !kesto::fuzz::IsWholeGbk(responseCookies)) return;
  for (const Text& item : Items(response, ";")) {
    bool kept = std::find(items.begin(), items.end(), item) != items.end();
    FUZZ_CHECK(kept || item.empty() || kesto::RightText(item, 8) == "=deleted");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  const Text url = input.Piece();
  const Text callerCookies = input.Piece();
  const Text responseCookies = input.Piece();
  CheckAddress(url);
  CheckCookies(callerCookies, responseCookies);
  Text start = input.Piece();
  Text end = input.Piece();
  Text between = kesto::net::TextBetween(url, start, end);
  FUZZ_CHECK(between.empty() || kesto::FindText(url, between) != -1);
  return 0;
}
