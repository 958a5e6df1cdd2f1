// Installing an application from the vendor's signed release feed, through the real server:
// the release as published installs and is noted; a feed that is not the vendor's, has expired
// or is older than one accepted before, and a file that is not as the feed says, install
// nothing at all; a first install that takes a while shows its window and can be cancelled.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "layouts/names.h"
#include "runtime/headless/controls.h"
#include "runtime/headless/frame.h"
#include "shell/builtin_settings.h"
#include "tests/net/test_server.h"
#include "tests/program/temp_program_folder.h"
#include "tests/update/sample_vendor.h"
#include "update/installed_state.h"
#include "update/package_install.h"
#include "update/release_feed.h"
#include "update/release_swap.h"
#include "update/signed_release.h"
#include "update/staged_release.h"
#include "update/vendor_key.h"
#include "updater/install_window.h"
#include "updater/run_target.h"

namespace kesto::testing {
namespace {

class SignedInstall : public ::testing::Test {
 protected:
  // The memo application's release 1.1 and its feed, and a later feed offering 0.9.
  void ServeLaterFeeds(const std::string& feed) {
    server_.Route("/app/feed.json", OkResponse(Sample(feed + ".json")));
    server_.Route("/app/feed.json.sig", OkResponse(Sample(feed + ".json.sig")));
    server_.Route("/app/feed/memo/1.1/memo.qmz", OkResponse(Sample("next/memo.qmz")));
    server_.Route("/app/feed/memo/1.1/memo.dat", OkResponse(Sample("next/memo.dat")));
    server_.Route("/app/feed/memo/0.9/memo.qmz", OkResponse(Sample("old/memo.qmz")));
  }
  bool Stage() {
    Text problem;
    const bool staged = update::StageNewerRelease("memo", problem);
    EXPECT_TRUE(staged) << problem;
    return staged;
  }
  std::string Version() { return ReadIniValue(folder_.Inside("up.ini"), "versions", "memo"); }
  void Serve(const std::string& feed, const std::string& signature, const std::string& program) {
    server_.Route("/app/feed.json", OkResponse(Sample(feed)));
    server_.Route("/app/feed.json.sig", OkResponse(Sample(signature)));
    server_.Route("/app/feed/memo/1.0/memo.qmz", OkResponse(program));
    server_.Route("/app/feed/memo/1.0/memo.dat", OkResponse(Sample("memo.dat")));
  }
  bool Install() {
    Text problem;
    const bool installed = update::InstallPackage("memo", problem);
    EXPECT_EQ(installed, problem.empty()) << problem;
    return installed;
  }

  TestServer server_;
  SampleVendor vendor_{server_.Url("")};
  TempProgramFolder folder_;
};

TEST_F(SignedInstall, OnlyTheReleaseAsTheVendorPublishedItInstalls) {
  const std::string program = Sample("memo.qmz");
  std::string altered = program;
  altered[3] ^= 1;
  struct Refusal {
    const char* feed;
    const char* signature;
    std::string program;
  } refusals[] = {
      {"feed.json", "message.sig", program},
      {"expired.json", "expired.json.sig", program},
      {"feed.json", "feed.json.sig", altered},
      {"feed.json", "feed.json.sig", program + "x"},
  };
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(std::string(refusal.feed) + " " + refusal.signature);
    Serve(refusal.feed, refusal.signature, refusal.program);
    EXPECT_FALSE(Install());
    EXPECT_FALSE(folder_.Exists("app")) << "nothing of it is installed";
  }

  Serve("feed.json", "feed.json.sig", program);
  ASSERT_TRUE(Install());
  EXPECT_EQ(folder_.Read("app/memo/memo.qmz"), program);
  EXPECT_EQ(folder_.Read("app/memo/memo.dat"), Sample("memo.dat"));
  EXPECT_EQ(ReadIniValue(folder_.Inside("up.ini"), "versions", "memo"), "1.0");

  // Once sequence 7 was accepted, a mirror's older feed is refused.
  std::filesystem::remove_all(folder_ / "app");
  Serve("older.json", "older.json.sig", program);
  EXPECT_FALSE(Install());
  EXPECT_FALSE(folder_.Exists("app"));
}

// A feed or signature without a length that never ends is given up at its cap (far above any
// real one), and nothing of it is kept.
TEST_F(SignedInstall, AnEndlessFeedOrSignatureStopsAtItsCapAndNothingIsKept) {
  const std::string endless = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n";
  Serve("feed.json", "feed.json.sig", Sample("memo.qmz"));
  server_.RouteEndless("/app/feed.json", endless, "{\"releases\": [], ");
  const Text folder = folder_.Inside("staging");
  ASSERT_TRUE(std::filesystem::create_directory(folder_ / "staging"));
  Text problem;
  EXPECT_FALSE(update::FetchCheckedFeed(folder, problem));
  EXPECT_FALSE(problem.empty());
  EXPECT_TRUE(std::filesystem::is_empty(folder_ / "staging")) << "nothing of the feed kept";
  Serve("feed.json", "feed.json.sig", Sample("memo.qmz"));
  server_.RouteEndless("/app/feed.json.sig", endless, "0");
  EXPECT_FALSE(update::FetchCheckedFeed(folder, problem));
  EXPECT_FALSE(folder_.Exists("staging/feed.json.sig")) << "nothing of the signature kept";
}

// Once a feed is accepted, a check asks only whether the server's copy changed: an unchanged
// feed costs one small answer, and the one kept is used, its expiry checked as before.
TEST_F(SignedInstall, AnUnchangedFeedCostsOneSmallAnswer) {
  Serve("feed.json", "feed.json.sig", Sample("memo.qmz"));
  server_.Route("/app/feed.json", OkResponse(Sample("feed.json"), "ETag: \"seven\"\r\n"));
  ASSERT_TRUE(Install());
  server_.Route("/app/feed.json", "HTTP/1.1 304 Not Modified\r\nETag: \"seven\"\r\n\r\n");
  server_.Clear();
  ASSERT_TRUE(Stage());
  const std::vector<std::string> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].find("GET /app/feed.json HTTP/1.1"), std::string::npos);
  EXPECT_NE(requests[0].find("\r\nIf-None-Match: \"seven\"\r\n"), std::string::npos);
}

// A newer release is fetched after a start and put in place at the next one; an apply stopped
// after any rename is finished by the next start; a feed that offers an older release changes
// nothing; a release rolled back is not taken again.
TEST_F(SignedInstall, ANewerReleaseIsAppliedAtTheNextStartAndAnOlderOrRefusedOneNever) {
  Serve("feed.json", "feed.json.sig", Sample("memo.qmz"));
  ASSERT_TRUE(Install());
  ServeLaterFeeds("next");
  ASSERT_TRUE(Stage());
  EXPECT_EQ(folder_.Read("app/memo/memo.qmz"), Sample("memo.qmz")) << "not before the next start";
  EXPECT_EQ(Version(), "1.0");

  ASSERT_TRUE(update::ApplyStagedRelease("memo"));
  EXPECT_EQ(folder_.Read("app/memo/memo.qmz"), Sample("next/memo.qmz"));
  EXPECT_EQ(folder_.Read("app/memo/memo.dat"), Sample("next/memo.dat"));
  EXPECT_EQ(Version(), "1.1");
  EXPECT_TRUE(update::ReleaseOnTrial("memo"));

  ServeLaterFeeds("downgrade");
  ASSERT_TRUE(Stage());
  EXPECT_FALSE(update::ApplyStagedRelease("memo"));
  EXPECT_EQ(folder_.Read("app/memo/memo.qmz"), Sample("next/memo.qmz"));
  EXPECT_EQ(Version(), "1.1");

  // A release that did not come up gives way to the one before it, and is never taken again.
  update::RollBackRelease("memo");
  EXPECT_EQ(folder_.Read("app/memo/memo.qmz"), Sample("memo.qmz"));
  EXPECT_EQ(folder_.Read("app/memo/memo.dat"), Sample("memo.dat"));
  EXPECT_EQ(Version(), "1.0");
  WriteIniValue(folder_.Inside("up.ini"), "feed", "sequence", "0");  // offered once more
  ServeLaterFeeds("next");
  ASSERT_TRUE(Stage());
  EXPECT_FALSE(update::ApplyStagedRelease("memo"));
  EXPECT_EQ(Version(), "1.0");
}

// The vendor withdraws 1.1 after it has settled everywhere: it goes back to the 1.0 the feed
// offers again, fetched and checked like any release, and is never taken again.
TEST_F(SignedInstall, AWithdrawnReleaseGoesBackToTheOfferedOneAndIsNeverTakenAgain) {
  Serve("feed.json", "feed.json.sig", Sample("memo.qmz"));
  ASSERT_TRUE(Install());
  ServeLaterFeeds("next");
  ASSERT_TRUE(Stage());
  ASSERT_TRUE(update::ApplyStagedRelease("memo"));
  update::KeepAppliedRelease("memo");

  server_.Route("/app/feed.json", OkResponse(Sample("withdrawn.json")));
  server_.Route("/app/feed.json.sig", OkResponse(Sample("withdrawn.json.sig")));
  ASSERT_TRUE(Stage());
  ASSERT_TRUE(update::ApplyStagedRelease("memo"));
  EXPECT_EQ(folder_.Read("app/memo/memo.qmz"), Sample("memo.qmz"));
  EXPECT_EQ(folder_.Read("app/memo/memo.dat"), Sample("memo.dat"));
  EXPECT_EQ(Version(), "1.0");

  WriteIniValue(folder_.Inside("up.ini"), "feed", "sequence", "0");  // 1.1 offered once more
  ServeLaterFeeds("next");
  ASSERT_TRUE(Stage());
  EXPECT_FALSE(update::ApplyStagedRelease("memo"));
  EXPECT_EQ(Version(), "1.0");
}

// A fresh folder, with no record of what it has, is at the release its programs were built as:
// an older release the vendor once signed, offered by a feed that has not expired, is not
// taken; nor is a feed older than the installer's floor.
TEST_F(SignedInstall, AFreshInstallIsNeverTakenBackToAnOlderSignedRelease) {
  ASSERT_GT(update::CompareVersions(settings::kReleaseVersion, "0.9"), 0);
  server_.Route("/app/feed.json", OkResponse(Sample("old-platform.json")));
  server_.Route("/app/feed.json.sig", OkResponse(Sample("old-platform.json.sig")));
  Text problem;
  ASSERT_TRUE(update::StageNewerRelease("pt", problem)) << problem;
  EXPECT_FALSE(folder_.Exists(".up-stage/pt/ready"));
  EXPECT_EQ(update::InstalledVersion("pt"), settings::kReleaseVersion);

  WriteIniValue(folder_.Inside("up.ini"), "feed", "sequence", "12");  // as an installer writes it
  Serve("feed.json", "feed.json.sig", Sample("memo.qmz"));
  EXPECT_FALSE(Install()) << "sequence 7 is below the floor";
  EXPECT_FALSE(folder_.Exists("app"));
}

// A key is checked before any file is touched for it: one that climbs out of its folder
// applies, installs and removes nothing anywhere.
TEST_F(SignedInstall, AKeyThatIsNoApplicationNameTouchesNothing) {
  folder_.Write("x/ready/.version", "9");
  folder_.Write("x/ready/x.qmz", "program");
  folder_.Write("x/old/keep", "kept");
  folder_.Write("app/x/x.qmz", "installed");
  for (const char* key : {"..\\x", "../x", "x\r\nrun=pt", "con"}) {
    SCOPED_TRACE(key);
    Text problem;
    std::optional<updater::StartedTarget> started;
    EXPECT_FALSE(
        updater::BringUpApplication(key, problem, updater::StagedReleases::kApply, started));
    EXPECT_FALSE(problem.empty());
    EXPECT_FALSE(update::InstallPackage(key, problem));
    EXPECT_FALSE(update::StageNewerRelease(key, problem));
    EXPECT_FALSE(update::ApplyStagedRelease(key));
    update::RollBackRelease(key);
  }
  Text problem;
  std::optional<updater::StartedTarget> started;
  EXPECT_FALSE(
      updater::BringUpApplication("up", problem, updater::StagedReleases::kApply, started));
  EXPECT_FALSE(update::InstallPackage("pt", problem)) << "the platform is no catalogue tool";
  EXPECT_EQ(folder_.Read("x/ready/x.qmz"), "program");
  EXPECT_EQ(folder_.Read("x/old/keep"), "kept");
  EXPECT_EQ(folder_.Read("app/x/x.qmz"), "installed");
  EXPECT_TRUE(server_.Requests().empty()) << "nothing was fetched";
}

// The seller waiting on a first install sees its window with the bar moving, and cancel gives
// the install up: nothing is installed and nothing is reported.
TEST_F(SignedInstall, ASlowFirstInstallShowsItsProgressAndCanBeCancelled) {
  headless::ResetFrame();
  const std::string program = Sample("memo.qmz");
  Serve("feed.json", "feed.json.sig", program);
  // The program's body comes only as the test lets it.
  server_.RouteGated(
      "/app/feed/memo/1.0/memo.qmz",
      "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(program.size()) + "\r\n\r\n",
      {program.substr(0, 4), program.substr(4)});
  int shownShare = -1;
  // Runs once the window is up and being pumped.
  headless::Post([&] {
    ASSERT_NE(ui::NativeHandle({names::kInstallWindow, ""}), 0);
    shownShare = ui::GetInt({names::kInstallWindow, "进度条1"}, ui::prop::processbar::kPosition);
    headless::Fire({names::kInstallWindow, "按钮1"}, ui::Event::kClicked);
    server_.ReleasePiece();
    server_.ReleasePiece();
  });
  Text problem;
  const updater::InstallOutcome outcome =
      updater::InstallWithProgress("memo", [&] { return update::InstallPackage("memo", problem); });
  EXPECT_EQ(outcome, updater::InstallOutcome::kCancelled) << problem;
  EXPECT_GT(shownShare, 0) << "the data file had come in";
  EXPECT_LT(shownShare, 10000);
  EXPECT_EQ(ui::NativeHandle({names::kInstallWindow, ""}), 0) << "the window is gone";
  EXPECT_FALSE(folder_.Exists("app"));
  EXPECT_TRUE(headless::MessageBoxes().empty());

  // The next install is not cancelled by the last one's cancel.
  Serve("feed.json", "feed.json.sig", program);
  EXPECT_EQ(updater::InstallWithProgress("memo", [&] { return Install(); }),
            updater::InstallOutcome::kInstalled);
}

}  // namespace
}  // namespace kesto::testing
