#include <gtest/gtest.h>

#include <filesystem>

#include "shell/builtin_settings.h"
#include "shell/globals.h"
#include "shell/platform_info.h"
#include "tests/program/temp_program_folder.h"
#include "tests/shell/platform_info_test_files.h"

namespace kesto::shell {
namespace {

namespace fs = std::filesystem;
using test::EncipheredPlatformFile;
using test::FileNamed;
using test::WriteNative;

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
    root_ = testing::MakeTempFolder("kesto-platform-info-");
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
