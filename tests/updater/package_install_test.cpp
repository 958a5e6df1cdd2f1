// Installing a package when the disk fills up: the install fails and says so, the files an
// earlier install left stay whole, and no download folder or half-fetched file stays behind.
#include "update/package_install.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "tests/net/test_server.h"
#include "tests/program/temp_program_folder.h"
#include "tests/update/sample_vendor.h"

namespace kesto::testing {
namespace {

constexpr rlim_t kFileSizeLimit = 4096;

// Every file below the folder, by its path relative to it, with its content; the updater's own
// records (up.ini, the feed it accepted) aside.
std::map<std::string, std::string> Files(const TempProgramFolder& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.root())) {
    const std::string relative = entry.path().lexically_relative(folder.root()).string();
    if (relative.rfind("up.ini", 0) == 0 || relative.rfind(".up.ini", 0) == 0 ||
        relative.rfind(".up-stage", 0) == 0) {
      continue;
    }
    files[relative] = entry.is_directory() ? "<folder>" : folder.Read(relative);
  }
  return files;
}

class PackageInstall : public ::testing::Test {
 protected:
  // The signed feed of the sample `package` (a folder of the samples) and its files.
  void ServePackage(const std::string& key, const std::string& package) {
    server_.Route("/app/feed.json", OkResponse(Sample(package + ".json")));
    server_.Route("/app/feed.json.sig", OkResponse(Sample(package + ".json.sig")));
    for (const char* extension : {".qmz", ".dat"}) {
      const std::string name = key + extension;
      server_.Route("/app/feed/" + key + "/1.0/" + name,
                    OkResponse(Sample((key == "clock" ? "big-program" : package) + "/" + name)));
    }
  }

  // InstallPackage run in a child process whose files may not grow beyond the limit, as on a
  // full disk (the write fails with EFBIG instead of the process being stopped); whether it
  // succeeded and whether it explained a failure.
  static std::pair<bool, bool> InstallUnderFileSizeLimit(const Text& key) {
    pid_t child = fork();
    if (child == 0) {
      signal(SIGXFSZ, SIG_IGN);
      rlimit limit{kFileSizeLimit, kFileSizeLimit};
      setrlimit(RLIMIT_FSIZE, &limit);
      Text problem;
      const bool installed = update::InstallPackage(key, problem);
      _exit((installed ? 1 : 0) | (problem.empty() ? 0 : 2));
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    return {(code & 1) != 0, (code & 2) != 0};
  }

  TestServer server_;
  SampleVendor vendor_{server_.Url("")};
  TempProgramFolder folder_;
};

TEST_F(PackageInstall, AFullDiskFailsTheInstallAndKeepsWhatWasThere) {
  // What an earlier install left of "memo": its title and tile, but no application file.
  folder_.Write("app/memo/memo.dat", "[ini]\r\nbt=old\r\n");
  folder_.Write("app/memo/memo.gif", kTinyGif);
  const std::map<std::string, std::string> before = Files(folder_);

  // The application file, or one of the other files, does not fit.
  for (const char* package : {"big-program", "big-title"}) {
    SCOPED_TRACE(package);
    ServePackage("memo", package);
    const auto [installed, explained] = InstallUnderFileSizeLimit("memo");
    EXPECT_FALSE(installed);
    EXPECT_TRUE(explained) << "a failure says why";
    EXPECT_EQ(Files(folder_), before) << "no download folder, no new or changed file";
  }

  // The limit was the cause: a package under it installs.
  ServePackage("memo", "fits");
  EXPECT_EQ(InstallUnderFileSizeLimit("memo"), std::make_pair(true, false));
  EXPECT_EQ(folder_.Read("app/memo/memo.qmz"), "application");
  EXPECT_EQ(folder_.Read("app/memo/memo.dat"), "[ini]\r\nbt=new\r\n");
}

TEST_F(PackageInstall, AFailedFirstInstallLeavesNoAppFolderBehind) {
  ServePackage("clock", "big-clock");
  const auto [installed, explained] = InstallUnderFileSizeLimit("clock");
  EXPECT_FALSE(installed);
  EXPECT_TRUE(explained);
  EXPECT_TRUE(Files(folder_).empty()) << "not even an empty app folder";
}

}  // namespace
}  // namespace kesto::testing
