// Installing a package when the disk fills up: the install fails and says so, the files an
// earlier install left stay whole, and no download folder or half-fetched file stays behind.
#include "tools/updater/package_install.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "tests/net/test_server.h"
#include "tests/program/temp_program_folder.h"

namespace kesto::testing {
namespace {

constexpr rlim_t kFileSizeLimit = 4096;

// Every file below the folder, by its path relative to it, with its content.
std::map<std::string, std::string> Files(const TempProgramFolder& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.root())) {
    const std::string relative = entry.path().lexically_relative(folder.root()).string();
    files[relative] = entry.is_directory() ? "<folder>" : folder.Read(relative);
  }
  return files;
}

class PackageInstall : public ::testing::Test {
 protected:
  void SetUp() override { updater::OverridePackageServer(server_.Url("")); }
  void TearDown() override { updater::OverridePackageServer(""); }

  void ServePackage(const std::string& key, const std::string& program, const std::string& title) {
    server_.Route("/app/pkg/" + key + "/" + key + ".qmz", OkResponse(program));
    server_.Route("/app/pkg/" + key + "/" + key + ".dat", OkResponse(title));
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
      const bool installed = updater::InstallPackage(key, problem);
      _exit((installed ? 1 : 0) | (problem.empty() ? 0 : 2));
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    return {(code & 1) != 0, (code & 2) != 0};
  }

  TestServer server_;
  TempProgramFolder folder_;
};

TEST_F(PackageInstall, AFullDiskFailsTheInstallAndKeepsWhatWasThere) {
  // What an earlier install left of "memo": its title and tile, but no application file.
  folder_.Write("app/memo/memo.dat", "[ini]\r\nbt=old\r\n");
  folder_.Write("app/memo/memo.gif", kTinyGif);
  const std::string big(2 * kFileSizeLimit, 'p');
  const std::string small = "application";
  const std::map<std::string, std::string> before = Files(folder_);

  // The application file, or one of the optional files, does not fit.
  for (const auto& [program, title] : {std::pair{big, std::string("[ini]\r\nbt=new\r\n")},
                                       std::pair{small, std::string(big.size(), 't')}}) {
    SCOPED_TRACE(program.size());
    ServePackage("memo", program, title);
    const auto [installed, explained] = InstallUnderFileSizeLimit("memo");
    EXPECT_FALSE(installed);
    EXPECT_TRUE(explained) << "a failure says why";
    EXPECT_EQ(Files(folder_), before) << "no download folder, no new or changed file";
  }

  // The limit was the cause: a package under it installs.
  ServePackage("memo", small, "[ini]\r\nbt=new\r\n");
  EXPECT_EQ(InstallUnderFileSizeLimit("memo"), std::make_pair(true, false));
  EXPECT_EQ(folder_.Read("app/memo/memo.qmz"), small);
  EXPECT_EQ(folder_.Read("app/memo/memo.dat"), "[ini]\r\nbt=new\r\n");
}

TEST_F(PackageInstall, AFailedFirstInstallLeavesNoAppFolderBehind) {
  ServePackage("clock", std::string(2 * kFileSizeLimit, 'p'), "[ini]\r\nbt=clock\r\n");
  const auto [installed, explained] = InstallUnderFileSizeLimit("clock");
  EXPECT_FALSE(installed);
  EXPECT_TRUE(explained);
  EXPECT_TRUE(Files(folder_).empty()) << "not even an empty app folder";
}

}  // namespace
}  // namespace kesto::testing
