#include "update/signed_release.h"

#include <algorithm>
#include <ctime>

#include "runtime/tool_services.h"
#include "update/http_fetch.h"
#include "update/installed_state.h"
#include "update/release_feed.h"
#include "update/stage_paths.h"
#include "update/transfer_progress.h"
#include "update/vendor_key.h"

namespace kesto::update {

namespace {

Text Refusal(update::FeedVerdict verdict) {
  switch (verdict) {
    case update::FeedVerdict::kBadSignature:
      return "发布清单的签名无效";
    case update::FeedVerdict::kMalformed:
      return "发布清单的格式有误";
    case update::FeedVerdict::kExpired:
      return "发布清单已过期";
    case update::FeedVerdict::kOlder:
      return "发布清单比已收到过的旧";
    case update::FeedVerdict::kAccepted:
      break;
  }
  return {};
}

// One fetch and check of the feed; `verdict` says why nothing was accepted.
std::optional<update::Feed> FetchFeedOnce(const Text& folder, Text& problem,
                                          update::FeedVerdict& verdict) {
  verdict = update::FeedVerdict::kAccepted;
  const Text feedFile = folder + "\\feed.json";
  const Text signatureFile = feedFile + ".sig";
  // The last feed accepted, kept with its signature and the server's tag of it: while the
  // server's copy keeps that tag, a check costs one small answer.
  const Text kept = StageRoot() + "\\feed.json";
  const bool haveKept = FileExists(kept) && FileExists(kept + ".sig");
  const Text tag = haveKept ? ToText(ReadFileBytes(kept + ".etag")) : Text{};
  const Fetch fetch =
      FetchToFile(update::FeedAddress(), feedFile, std::nullopt, tag, update::kMaxFeedBytes);
  const bool unchanged = fetch.result == FetchResult::kNotModified;
  if (unchanged) {
    WriteFileBytes(feedFile, {ReadFileBytes(kept)});
    WriteFileBytes(signatureFile, {ReadFileBytes(kept + ".sig")});
  } else {
    const Fetch signature = fetch.result == FetchResult::kSaved
                                ? FetchToFile(update::FeedAddress() + ".sig", signatureFile,
                                              std::nullopt, "", update::kMaxFeedSignatureBytes)
                                : fetch;
    if (signature.result != FetchResult::kSaved) {
      problem = signature.reason;
      return std::nullopt;
    }
  }
  const Bytes feed = ReadFileBytes(feedFile);
  const Bytes signature = ReadFileBytes(signatureFile);
  update::FeedCheck check =
      update::CheckFeed(std::string(feed.begin(), feed.end()), signature, update::VendorKeys(),
                        static_cast<std::int64_t>(std::time(nullptr)), update::FeedFloor());
  if (check.verdict != update::FeedVerdict::kAccepted) {
    verdict = check.verdict;
    problem = Refusal(check.verdict);
    return std::nullopt;
  }
  update::RaiseFeedFloor(check.feed->sequence);
  if (!unchanged && MakeFolder(StageRoot())) {
    // The tag last: a tag never names a copy that is not kept whole.
    WriteFileBytes(kept + ".etag", {});
    if (WriteFileBytes(kept, {feed}) && WriteFileBytes(kept + ".sig", {signature})) {
      WriteFileBytes(kept + ".etag", {ToBytes(fetch.etag)});
    }
  }
  return std::move(check.feed);
}

// What a feed whose signature does not match waits before it is asked for once more.
constexpr int kRefetchPauseMilliseconds = 1000;

}  // namespace

std::optional<update::Feed> FetchCheckedFeed(const Text& folder, Text& problem) {
  update::FeedVerdict verdict;
  std::optional<update::Feed> feed = FetchFeedOnce(folder, problem, verdict);
  // The vendor publishing between the two fetches gives a feed and a signature of two
  // publications: asked once more, the pair matches.
  if (!feed && verdict == update::FeedVerdict::kBadSignature) {
    PauseMilliseconds(kRefetchPauseMilliseconds);
    feed = FetchFeedOnce(folder, problem, verdict);
  }
  return feed;
}

bool FetchReleaseFiles(const update::Release& release, const Text& folder, const Text& lastName,
                       std::vector<Text>& names, Text& problem) {
  std::vector<update::FeedFile> files = release.files;
  const std::string last = TextToUtf8(lastName);
  std::stable_partition(files.begin(), files.end(),
                        [&](const update::FeedFile& file) { return file.name != last; });
  std::uint64_t total = 0;
  for (const update::FeedFile& file : files) total += file.size;
  ExpectTransfer(total);
  for (const update::FeedFile& file : files) {
    const std::optional<Text> name = Utf8ToTextExact(file.name);
    if (!name) {
      problem = "发布清单中的文件名无法用作文件名";
      return false;
    }
    const Fetch fetch = FetchToFile(update::FileAddress(update::FeedAddress(), file.url),
                                    folder + "\\" + *name, ExpectedFile{file.size, file.sha256});
    if (fetch.result != FetchResult::kSaved) {
      problem = fetch.reason;
      return false;
    }
    names.push_back(*name);
  }
  return true;
}

bool FetchSignedRelease(const Text& key, const Text& staging, std::vector<Text>& names,
                        Text& version, Text& problem) {
  const Text failed = "无法安装应用 " + key + "：";
  Text reason;
  const std::optional<update::Feed> feed = FetchCheckedFeed(staging, reason);
  if (!feed) {
    problem = failed + reason;
    return false;
  }
  // The feed is UTF-8; the program's names are GBK.
  const auto release = feed->releases.find(TextToUtf8(key));
  if (release == feed->releases.end()) {
    problem = "服务器上没有应用 " + key;
    return false;
  }
  const Text program = key + ".qmz";
  const auto& files = release->second.files;
  if (std::none_of(files.begin(), files.end(), [&](const update::FeedFile& file) {
        return file.name == TextToUtf8(program);
      })) {
    problem = failed + "发布清单中没有 " + program;
    return false;
  }
  if (!FetchReleaseFiles(release->second, staging, program, names, reason)) {
    problem = failed + reason;
    return false;
  }
  version = release->second.version;
  return true;
}

}  // namespace kesto::update
