// Loading the platform file with the program folder at the root of the file system: the
// loader runs in a child process whose root is changed, with POSIX calls.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "shell/globals.h"
#include "shell/platform_info.h"
#include "tests/program/temp_program_folder.h"
#include "tests/shell/platform_info_test_files.h"

namespace kesto::shell {
namespace {

namespace fs = std::filesystem;
using test::FileNamed;
using test::WriteNative;

class LoadPlatformInfoAtRootTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = testing::MakeTempFolder("kesto-platform-root-");
    InitGlobals();
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path root_;
};

// The program folder at the root of the file system: run the loader in a child process whose
// root is a temporary folder (a user namespace allows the change of root without privileges).
int LoadInsideRoot(const fs::path& root, const char* folder, const Text& expected) {
  const pid_t child = fork();
  if (child == 0) {
    // The path conversion keeps its converters once opened; open them while they can be loaded.
    FileExists("\\");
    if (unshare(CLONE_NEWUSER) != 0 || chroot(root.c_str()) != 0 || chdir(folder) != 0) _exit(77);
    _exit(LoadPlatformInfo() && PlatformInfo[1] == expected ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(LoadPlatformInfoAtRootTest, AtTheRootEverySearchLooksAtTheRoot) {
  fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
  WriteNative(root_ / "reg.qmz", FileNamed("at the root"));
  fs::create_directory(root_ / "top");
  const int atRoot = LoadInsideRoot(root_, "/", "at the root");
  if (atRoot == 77) GTEST_SKIP() << "no user namespace to change the root in";
  EXPECT_EQ(atRoot, 0);
  EXPECT_EQ(LoadInsideRoot(root_, "/top", "at the root"), 0);
}

}  // namespace
}  // namespace kesto::shell
