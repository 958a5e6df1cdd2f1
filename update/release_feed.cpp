#include "update/release_feed.h"

#include <algorithm>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <set>

#include "runtime/tool_services.h"
#include "update/app_key.h"

namespace kesto::update {

namespace {

using Json = nlohmann::json;

// A name that stays inside the folder it is joined to, on both systems: no separators, drive
// or stream colons, control bytes, or leading dot (which also rules out "." and "..").
bool IsPlainName(const Text& name) {
  if (name.empty() || name.size() > 200 || name[0] == '.') return false;
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' ||
        c == '"' || c == '<' || c == '>' || c == '|') {
      return false;
    }
  }
  return true;
}

std::optional<crypto::Digest> ParseDigest(const std::string& hex) {
  if (hex.size() != 64) return std::nullopt;
  crypto::Digest digest{};
  for (std::size_t i = 0; i < 64; ++i) {
    const char c = hex[i];
    int value = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (value < 0) return std::nullopt;
    digest[i / 2] = static_cast<std::uint8_t>(digest[i / 2] << 4 | value);
  }
  return digest;
}

// An "http://" or "https://" address, or a path of plain names relative to the feed's own.
bool IsFileAddress(const std::string& url) {
  if (url.rfind("http://", 0) == 0) return url.size() > 7;
  if (url.rfind("https://", 0) == 0) return url.size() > 8;
  std::size_t start = 0;
  while (true) {
    const std::size_t slash = url.find('/', start);
    if (!IsPlainName(url.substr(start, slash - start))) return false;
    if (slash == std::string::npos) return true;
    start = slash + 1;
  }
}

// The member of that name when it is of the kind asked for (numbers: whole and not negative).
const Json* Member(const Json& object, const char* name, bool (Json::*is)() const noexcept) {
  auto found = object.find(name);
  return found != object.end() && ((*found).*is)() ? &*found : nullptr;
}

// File names are compared as Windows compares them.
Text FoldedName(Text name) {
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

std::optional<FeedFile> ParseFile(const Json& entry) {
  if (!entry.is_object()) return std::nullopt;
  const Json* name = Member(entry, "name", &Json::is_string);
  const Json* size = Member(entry, "size", &Json::is_number_unsigned);
  const Json* sha256 = Member(entry, "sha256", &Json::is_string);
  const Json* url = Member(entry, "url", &Json::is_string);
  if (!name || !size || !sha256 || !url) return std::nullopt;
  FeedFile file;
  file.name = name->get<std::string>();
  file.size = size->get<std::uint64_t>();
  file.url = url->get<std::string>();
  auto digest = ParseDigest(sha256->get<std::string>());
  if (!IsPlainName(file.name) || !digest || !IsFileAddress(file.url)) return std::nullopt;
  file.sha256 = *digest;
  return file;
}

std::optional<Release> ParseRelease(const Json& entry) {
  if (!entry.is_object()) return std::nullopt;
  const Json* version = Member(entry, "version", &Json::is_string);
  const Json* files = Member(entry, "files", &Json::is_array);
  if (!version || !files || files->empty()) return std::nullopt;
  Release release;
  release.version = version->get<std::string>();
  if (!IsVersion(release.version)) return std::nullopt;
  std::set<Text> names;
  for (const Json& entry : *files) {
    auto file = ParseFile(entry);
    if (!file || !names.insert(FoldedName(file->name)).second) return std::nullopt;
    release.files.push_back(std::move(*file));
  }
  // Optional: the versions the vendor has taken back. The release offered is never one of them.
  if (entry.contains("withdrawn")) {
    const Json& withdrawn = entry["withdrawn"];
    if (!withdrawn.is_array()) return std::nullopt;
    for (const Json& taken : withdrawn) {
      if (!taken.is_string() || !IsVersion(taken.get<std::string>())) return std::nullopt;
      release.withdrawn.push_back(taken.get<std::string>());
    }
    if (release.IsWithdrawn(release.version)) return std::nullopt;
  }
  return release;
}

// A release name once in the program's own text.
bool IsUtf8ReleaseName(const std::string& utf8) {
  const std::optional<Text> name = Utf8ToTextExact(utf8);
  return name && IsReleaseName(*name);
}

std::optional<std::int64_t> Seconds(const Json& json, const char* name) {
  const Json* member = Member(json, name, &Json::is_number_unsigned);
  if (!member || member->get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(member->get<std::uint64_t>());
}

}  // namespace

bool Release::IsWithdrawn(const Text& installed) const {
  return std::any_of(withdrawn.begin(), withdrawn.end(),
                     [&](const Text& taken) { return CompareVersions(taken, installed) == 0; });
}

bool IsVersion(const Text& text) {
  if (text.empty() || text.size() > 40) return false;
  bool digit = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == '.' && digit) {
      digit = false;
    } else {
      return false;
    }
  }
  return digit;
}

int CompareVersions(const Text& a, const Text& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    // Each number compared by its digits without leading zeros, so no number overflows.
    auto next = [](const Text& v, std::size_t& at) {
      while (at < v.size() && v[at] == '0' && at + 1 < v.size() && v[at + 1] != '.') ++at;
      const std::size_t start = at;
      while (at < v.size() && v[at] != '.') ++at;
      Text number = v.substr(start, at - start);
      if (at < v.size()) ++at;
      return number == "0" ? Text{} : number;
    };
    const Text x = next(a, i), y = next(b, j);
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

std::optional<Feed> ParseFeed(const std::string& text) {
  const Json json = Json::parse(text, nullptr, false);
  if (json.is_discarded() || !json.is_object()) return std::nullopt;
  const Json* sequence = Member(json, "sequence", &Json::is_number_unsigned);
  const Json* keyId = Member(json, "key", &Json::is_string);
  const Json* releases = Member(json, "releases", &Json::is_object);
  const std::optional<std::int64_t> signedAt = Seconds(json, "signed");
  const std::optional<std::int64_t> expires = Seconds(json, "expires");
  if (!sequence || !keyId || !releases || !signedAt || !expires) return std::nullopt;
  Feed feed;
  feed.sequence = sequence->get<std::uint64_t>();
  feed.signedAt = *signedAt;
  feed.expires = *expires;
  feed.keyId = keyId->get<std::string>();
  if (feed.expires - feed.signedAt > kMaxFeedLifetime) return std::nullopt;
  for (const auto& [key, entry] : releases->items()) {
    auto release = ParseRelease(entry);
    if (!IsUtf8ReleaseName(key) || !release) return std::nullopt;
    feed.releases.emplace(key, std::move(*release));
  }
  return feed;
}

Text KeyId(const Bytes& key) {
  return crypto::DigestHex(crypto::Sha256Of(key)).substr(0, 16);
}

std::string FileAddress(const std::string& feedAddress, const std::string& url) {
  if (url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0) return url;
  return feedAddress.substr(0, feedAddress.rfind('/') + 1) + url;
}

FeedCheck CheckFeed(const std::string& bytes, const Bytes& signature,
                    const std::vector<Bytes>& vendorKeys, std::int64_t now, std::uint64_t floor) {
  // Every key is tried before anything of the unverified bytes is read.
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const auto signer = std::find_if(vendorKeys.begin(), vendorKeys.end(), [&](const Bytes& key) {
    return crypto::VerifySignature(key, data, bytes.size(), signature);
  });
  if (signer == vendorKeys.end()) return {FeedVerdict::kBadSignature, std::nullopt};
  auto feed = ParseFeed(bytes);
  if (!feed || feed->keyId != KeyId(*signer)) return {FeedVerdict::kMalformed, std::nullopt};
  if (feed->expires <= now) return {FeedVerdict::kExpired, std::nullopt};
  if (feed->sequence < floor) return {FeedVerdict::kOlder, std::nullopt};
  return {FeedVerdict::kAccepted, std::move(feed)};
}

}  // namespace kesto::update
