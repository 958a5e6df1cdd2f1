#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "shell/builtin_settings.h"
#include "shell/globals.h"
#include "shell/platform_info.h"
#include "tests/shell/platform_info_test_files.h"

namespace kesto::shell {
namespace {

namespace fs = std::filesystem;
using test::EncipheredPlatformFile;

void WriteNative(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

Bytes FileNamed(const Text& serviceNumber) {
  return EncipheredPlatformFile(serviceNumber + "|~|公司|~|web|~|pay|~|ad|~|spare");
}

const Array<Text> kDefaults = {"4702519",
                               "Pelun软件",
                               settings::kWebHost,
                               settings::kPaySite,
                               Text("http://") + settings::kWebHost + "/ad/",
                               "untouched"};

// A program folder two levels below a temporary root, so its parent and grandparent are ours.
class LoadPlatformInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kesto-platform-info-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    program_ = root_ / "grand" / "parent" / "program";
    fs::create_directories(program_);
    saved_ = fs::current_path();
    fs::current_path(program_);
    InitGlobals();
    PlatformInfo[6] = "untouched";
  }
  void TearDown() override {
    fs::current_path(saved_);
    fs::remove_all(root_);
  }

  fs::path root_;
  fs::path program_;
  fs::path saved_;
};

TEST_F(LoadPlatformInfoTest, TheNearestFolderWins) {
  WriteNative(root_ / "grand" / "reg.qmz", FileNamed("grandparent"));
  EXPECT_TRUE(LoadPlatformInfo());
  EXPECT_EQ(PlatformInfo, (Array<Text>{"grandparent", "公司", "web", "pay", "ad", "spare"}));

  WriteNative(root_ / "grand" / "parent" / "reg.qmz", FileNamed("parent"));
  EXPECT_TRUE(LoadPlatformInfo());
  EXPECT_EQ(PlatformInfo[kServiceNumber], "parent");

  WriteNative(program_ / "reg.qmz", FileNamed("program"));
  EXPECT_TRUE(LoadPlatformInfo());
  EXPECT_EQ(PlatformInfo[kServiceNumber], "program");
}

TEST_F(LoadPlatformInfoTest, NoFileLeavesTheValuesAlone) {
  WriteNative(root_ / "reg.qmz", FileNamed("too far up"));
  EXPECT_FALSE(LoadPlatformInfo());
  EXPECT_EQ(PlatformInfo, (Array<Text>{"", "", "", "", "", "untouched"}));
}

TEST_F(LoadPlatformInfoTest, UnusableContentLeavesTheDefaults) {
  for (const Bytes& content : {Bytes{}, EncipheredPlatformFile("1|~|2|~|3|~|4|~|5")}) {
    PlatformInfo[kServiceNumber] = "stale";
    WriteNative(program_ / "reg.qmz", content);
    EXPECT_FALSE(LoadPlatformInfo());
    EXPECT_EQ(PlatformInfo, kDefaults);
  }
  // A folder of that name counts as found, and reads as nothing.
  fs::remove(program_ / "reg.qmz");
  fs::create_directory(program_ / "reg.qmz");
  WriteNative(root_ / "grand" / "parent" / "reg.qmz", FileNamed("parent"));
  EXPECT_FALSE(LoadPlatformInfo());
  EXPECT_EQ(PlatformInfo, kDefaults);
}

TEST_F(LoadPlatformInfoTest, AFlagOtherThanOneGivesTheDefaults) {
  WriteNative(program_ / "reg.qmz", ToBytes("0var?donwhatever"));
  EXPECT_TRUE(LoadPlatformInfo());
  EXPECT_EQ(PlatformInfo, kDefaults);
}

TEST_F(LoadPlatformInfoTest, HugeFilesAreRefused) {
  Bytes huge(50u << 20, 'x');
  WriteNative(program_ / "reg.qmz", huge);
  EXPECT_FALSE(LoadPlatformInfo());
  const Bytes flagged = ToBytes("1var?don");
  std::copy(flagged.begin(), flagged.end(), huge.begin());
  WriteNative(program_ / "reg.qmz", huge);
  EXPECT_FALSE(LoadPlatformInfo());
  EXPECT_EQ(PlatformInfo, kDefaults);
}

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

TEST_F(LoadPlatformInfoTest, AtTheRootEverySearchLooksAtTheRoot) {
  fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
  WriteNative(root_ / "reg.qmz", FileNamed("at the root"));
  fs::create_directory(root_ / "top");
  const int atRoot = LoadInsideRoot(root_, "/", "at the root");
  if (atRoot == 77) GTEST_SKIP() << "no user namespace to change the root in";
  EXPECT_EQ(atRoot, 0);
  EXPECT_EQ(LoadInsideRoot(root_, "/top", "at the root"), 0);
}

TEST(ParentFolderTest, CutsBeforeTheLastBackslash) {
  EXPECT_EQ(ParentFolder("C:\\kesto\\bin"), "C:\\kesto");
  EXPECT_EQ(ParentFolder("C:/kesto/bin"), "C:\\kesto");
  EXPECT_EQ(ParentFolder("\\home\\u"), "\\home");
  EXPECT_EQ(ParentFolder("C:\\"), "C:");
  EXPECT_EQ(ParentFolder("C:"), "C:");
  EXPECT_EQ(ParentFolder("\\"), "");
  EXPECT_EQ(ParentFolder(""), "");
  EXPECT_EQ(ParentFolder("kesto"), "kesto");
  // A GBK character whose second byte is 0x5C is no separator.
  EXPECT_EQ(ParentFolder("C:\\软件\\\x81\x5C"), "C:\\软件");
  EXPECT_EQ(ParentFolder("C:\\\x81\x5C"
                         "abc"),
            "C:");
}

}  // namespace
}  // namespace kesto::shell
