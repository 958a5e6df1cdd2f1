// The vendor's signatures and the release feed's rules, with samples the openssl tool made and
// signed, checked by this system's own cryptography.
#include "update/release_feed.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <iterator>

#include "update/app_key.h"

namespace kesto::update {
namespace {

std::string Sample(const std::string& name) {
  std::ifstream in(std::string(KESTO_SIGNED_SAMPLES) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes SampleBytes(const std::string& name) {
  const std::string text = Sample(name);
  return Bytes(text.begin(), text.end());
}

bool Verifies(const Bytes& key, std::string message, const Bytes& signature) {
  return crypto::VerifySignature(key, reinterpret_cast<const std::uint8_t*>(message.data()),
                                 message.size(), signature);
}

// The samples are signed when the build makes them, and live 30 days from then.
const std::int64_t kNow = static_cast<std::int64_t>(std::time(nullptr));

TEST(VendorSignature, OnlyTheVendorsSignatureOfTheExactBytesVerifies) {
  const Bytes vendor = SampleBytes("vendor.pub.der");
  const std::string message = Sample("message");
  const Bytes signature = SampleBytes("message.sig");
  ASSERT_FALSE(message.empty());
  EXPECT_TRUE(Verifies(vendor, message, signature));

  std::string altered = message;
  altered[3] ^= 1;
  EXPECT_FALSE(Verifies(vendor, altered, signature));
  Bytes flipped = signature;
  flipped[flipped.size() - 1] ^= 1;
  EXPECT_FALSE(Verifies(vendor, message, flipped));
  EXPECT_FALSE(Verifies(SampleBytes("other.pub.der"), message, signature));
  // Malformed keys and signatures: cut, empty, trailing bytes.
  EXPECT_FALSE(Verifies(Bytes(vendor.begin(), vendor.end() - 1), message, signature));
  EXPECT_FALSE(Verifies(vendor, message, {}));
  Bytes longer = signature;
  longer.push_back(0);
  EXPECT_FALSE(Verifies(vendor, message, longer));
}

TEST(VendorSignature, DigestsAreSha256) {
  EXPECT_EQ(crypto::DigestHex(crypto::Sha256Of(ToBytes("abc"))),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  crypto::Sha256 pieces;
  pieces.Add(reinterpret_cast<const std::uint8_t*>("a"), 1);
  pieces.Add(reinterpret_cast<const std::uint8_t*>("bc"), 2);
  EXPECT_EQ(pieces.Finish(), crypto::Sha256Of(ToBytes("abc")));
}

TEST(ReleaseFeed, ASignedCurrentFeedIsAcceptedAndEveryOtherRefused) {
  const std::vector<Bytes> vendor = {SampleBytes("vendor.pub.der")};
  const FeedCheck good =
      CheckFeed(Sample("feed.json"), SampleBytes("feed.json.sig"), vendor, kNow, 7);
  ASSERT_EQ(good.verdict, FeedVerdict::kAccepted);
  const Release& platform = good.feed->releases.at("pt");
  EXPECT_EQ(platform.version, "1.1");
  ASSERT_EQ(platform.files.size(), 1u);
  EXPECT_EQ(platform.files[0].name, "payload");
  EXPECT_EQ(platform.files[0].size, 18u);
  EXPECT_EQ(platform.files[0].sha256, crypto::Sha256Of(SampleBytes("payload")));

  struct Refusal {
    const char* feed;
    const char* signature;
    std::uint64_t seen;
    FeedVerdict verdict;
  } refusals[] = {
      {"feed.json", "message.sig", 0, FeedVerdict::kBadSignature},
      {"feed.json", "missing.sig", 0, FeedVerdict::kBadSignature},
      {"expired.json", "expired.json.sig", 0, FeedVerdict::kExpired},
      {"older.json", "older.json.sig", 7, FeedVerdict::kOlder},
      {"malformed.json", "malformed.json.sig", 0, FeedVerdict::kMalformed},
      {"other-key.json", "other-key.json.sig", 0, FeedVerdict::kBadSignature},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.feed);
    const FeedCheck check =
        CheckFeed(Sample(r.feed), SampleBytes(r.signature), vendor, kNow, r.seen);
    EXPECT_EQ(check.verdict, r.verdict);
    EXPECT_FALSE(check.feed);
  }
  std::string tampered = Sample("feed.json");
  tampered.replace(tampered.find("1.1"), 3, "9.9");
  EXPECT_EQ(CheckFeed(tampered, SampleBytes("feed.json.sig"), vendor, kNow, 0).verdict,
            FeedVerdict::kBadSignature);
  EXPECT_EQ(CheckFeed(Sample("feed.json"), SampleBytes("feed.json.sig"), {}, kNow, 0).verdict,
            FeedVerdict::kBadSignature)
      << "no key accepts nothing";
}

// A build carrying the current and the next key takes a feed signed with either, and only when
// the feed names the key that signed it.
TEST(ReleaseFeed, EveryKeyABuildCarriesVerifiesTheFeedThatNamesIt) {
  const Bytes vendor = SampleBytes("vendor.pub.der"), next = SampleBytes("other.pub.der");
  for (const char* name : {"feed", "other-key"}) {
    SCOPED_TRACE(name);
    const std::string feed = Sample(std::string(name) + ".json");
    const Bytes signature = SampleBytes(std::string(name) + ".json.sig");
    EXPECT_EQ(CheckFeed(feed, signature, {vendor, next}, kNow, 0).verdict, FeedVerdict::kAccepted);
    EXPECT_EQ(CheckFeed(feed, signature, {next, vendor}, kNow, 0).verdict, FeedVerdict::kAccepted);
  }
  EXPECT_EQ(KeyId(vendor), ParseFeed(Sample("feed.json"))->keyId);
  EXPECT_EQ(KeyId(next), ParseFeed(Sample("other-key.json"))->keyId);
}

TEST(ReleaseFeed, FilesThatCouldLeaveTheirFolderOrAreNotDescribedWholeAreRefused) {
  const std::string digest(64, 'a');
  auto feed = [&](const std::string& key, const std::string& version, const std::string& file,
                  const std::string& expires = "2") {
    return "{\"sequence\":1,\"signed\":1,\"expires\":" + expires +
           ",\"key\":\"k\",\"releases\":{\"" + key + "\":{\"version\":\"" + version +
           "\",\"files\":[" + file + "]}}}";
  };
  auto file = [&](const std::string& name, const std::string& size = "1",
                  const std::string& hash = std::string(64, 'a'),
                  const std::string& url = "http://h/f") {
    return "{\"name\":\"" + name + "\",\"size\":" + size + ",\"sha256\":\"" + hash +
           "\",\"url\":\"" + url + "\"}";
  };
  EXPECT_TRUE(ParseFeed(feed("memo", "1.0.3", file("memo.qmz") + "," + file("memo.gif"))));
  EXPECT_TRUE(ParseFeed(feed("memo", "1", file("a", "1", digest, "feed/memo/1/a"))));
  EXPECT_TRUE(ParseFeed(feed("up", "1", file("a"), std::to_string(1 + kMaxFeedLifetime))));
  EXPECT_EQ(FileAddress("http://h:8080/app/feed.json", "feed/memo/1/a"),
            "http://h:8080/app/feed/memo/1/a");
  EXPECT_EQ(FileAddress("http://h:8080/app/feed.json", "https://m/a"), "https://m/a");
  for (const std::string& bad : {feed("..", "1", file("a")),
                                 feed("a\\\\b", "1", file("a")),
                                 feed("PT", "1", file("a")),
                                 feed("con", "1", file("a")),
                                 feed("a.b", "1", file("a")),
                                 feed("memo", "1", file("a"), std::to_string(2 + kMaxFeedLifetime)),
                                 feed("memo", "1", file("..")),
                                 feed("memo", "1", file("../up.qmz")),
                                 feed("memo", "1", file("a\\\\b")),
                                 feed("memo", "1", file("C:x")),
                                 feed("memo", "1", file("a") + "," + file("A")),
                                 feed("memo", "1.", file("a")),
                                 feed("memo", "v1", file("a")),
                                 feed("memo", "1", ""),
                                 feed("memo", "1", file("a", "-1")),
                                 feed("memo", "1", file("a", "1.5")),
                                 feed("memo", "1", file("a", "1", std::string(63, 'a'))),
                                 feed("memo", "1", file("a", "1", std::string(64, 'A'))),
                                 feed("memo", "1", file("a", "1", digest, "ftp://h/f")),
                                 feed("memo", "1", file("a", "1", digest, "feed/../../x")),
                                 feed("memo", "1", file("a", "1", digest, "/etc/x")),
                                 std::string("[]"),
                                 std::string("{\"sequence\":1,\"expires\":2,\"releases\":{}"),
                                 std::string("")}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ParseFeed(bad));
  }
}

// One rule for every key, from a page, a tile, qmztx.ini or the feed: what it refuses could
// name a path, a device, the platform or the updater, or reshape the profile file.
TEST(ApplicationKey, OnlyNamesThatAreAFolderAndAProfileKeyEverywhereAreKeys) {
  for (const char* key : {"memo", "Memo-2_x", "店铺助手", "ptx", "upload", "com10", "lpt"}) {
    EXPECT_TRUE(IsApplicationKey(key)) << key;
  }
  for (const std::string& key : std::vector<std::string>{"",
                                                         ".",
                                                         "..",
                                                         "..\\x",
                                                         "a/b",
                                                         "a\\b",
                                                         "a:b",
                                                         "a*",
                                                         "a?",
                                                         "a\"",
                                                         "a<",
                                                         "a|b",
                                                         "a.b",
                                                         "[x]",
                                                         "a=b",
                                                         "a\r\nb",
                                                         std::string("a\0b", 3),
                                                         "\x7f",
                                                         " memo",
                                                         "memo ",
                                                         "pt",
                                                         "PT",
                                                         "up",
                                                         "Up",
                                                         "con",
                                                         "NUL",
                                                         "Com1",
                                                         "lpt9",
                                                         "CONIN$",
                                                         std::string(65, 'a')}) {
    EXPECT_FALSE(IsApplicationKey(key)) << key;
  }
  EXPECT_TRUE(IsApplicationKey(std::string(64, 'a')));
  EXPECT_TRUE(IsReleaseName("pt"));
  EXPECT_TRUE(IsReleaseName("up"));
  EXPECT_FALSE(IsReleaseName("PT"));
}

TEST(ReleaseFeed, VersionsCompareByTheirNumbers) {
  EXPECT_LT(CompareVersions("1.9", "1.10"), 0);
  EXPECT_GT(CompareVersions("2", "1.99.99"), 0);
  EXPECT_EQ(CompareVersions("1.0", "1"), 0);
  EXPECT_EQ(CompareVersions("01.002", "1.2"), 0);
  EXPECT_LT(CompareVersions("1.2", "1.2.1"), 0);
  EXPECT_GT(CompareVersions("123456789012345678901234567890", "99999999999999999999"), 0);
}

}  // namespace
}  // namespace kesto::update
