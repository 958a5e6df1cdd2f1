// Installing an application from the vendor's signed release feed, through the real server:
// the release as published installs and is noted; a feed that is not the vendor's, has expired
// or is older than one accepted before, and a file that is not as the feed says, install
// nothing at all.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/net/test_server.h"
#include "tests/program/temp_program_folder.h"
#include "tools/updater/package_install.h"
#include "update/vendor_key.h"

namespace kesto::testing {
namespace {

std::string Sample(const std::string& name) {
  std::ifstream in(std::string(KESTO_SIGNED_SAMPLES) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SignedInstall : public ::testing::Test {
 protected:
  void SetUp() override {
    updater::OverridePackageServer(server_.Url(""));
    const std::string key = Sample("vendor.pub.der");
    update::OverrideVendorKey(Bytes(key.begin(), key.end()));
  }
  void TearDown() override {
    updater::OverridePackageServer("");
    update::OverrideVendorKey(std::nullopt);
  }
  void Serve(const std::string& feed, const std::string& signature, const std::string& program) {
    server_.Route("/app/feed.json", OkResponse(Sample(feed)));
    server_.Route("/app/feed.json.sig", OkResponse(Sample(signature)));
    server_.Route("/app/feed/memo/1.0/memo.qmz", OkResponse(program));
    server_.Route("/app/feed/memo/1.0/memo.dat", OkResponse(Sample("memo.dat")));
  }
  bool Install() {
    Text problem;
    const bool installed = updater::InstallPackage("memo", problem);
    EXPECT_EQ(installed, problem.empty()) << problem;
    return installed;
  }

  TestServer server_;
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

}  // namespace
}  // namespace kesto::testing
