// The program folder's write check, and the settings an older build lost to the VirtualStore
// brought back beside the program, in a real temporary folder and the prefix's VirtualStore.
#include <windows.h>
// After windows.h, which it builds on.
#include <shlobj.h>

#include <filesystem>
#include <fstream>

#include "runtime/core.h"
#include "runtime/program_folder.h"
#include "tests/runtime/win32/temp_folder.h"

namespace kesto {
namespace {

class ProgramFolder : public testing::TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    wchar_t local[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local), S_OK);
    const std::wstring folder = std::filesystem::absolute(Wide()).wstring();
    ASSERT_EQ(folder.substr(1, 2), L":\\");
    stored_ = std::filesystem::path(std::wstring(local) + L"\\VirtualStore" + folder.substr(2));
    std::filesystem::create_directories(stored_);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(stored_, ignored);
    TempFolder::TearDown();
  }

  // The VirtualStore's copy of qmztx.ini, written `hoursAgo` before now.
  void Store(const std::string& content, int hoursAgo) {
    std::ofstream(stored_ / L"qmztx.ini", std::ios::binary) << content;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER when{{now.dwLowDateTime, now.dwHighDateTime}};
    when.QuadPart -= ULONGLONG(hoursAgo) * 3600 * 10000000;
    const FILETIME written{when.LowPart, when.HighPart};
    HANDLE file = CreateFileW((stored_ / L"qmztx.ini").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
  }
  bool StoredCopyLeft() const { return std::filesystem::exists(stored_ / L"qmztx.ini"); }

  std::filesystem::path stored_;
};

TEST_F(ProgramFolder, AWritableFolderTakesTheVirtualStoreCopyWhenItHasNoneOrAnOlderOne) {
  EXPECT_TRUE(FolderWritable(Inside()));
  EXPECT_FALSE(FolderWritable(Inside("missing")));
  EXPECT_TRUE(std::filesystem::is_empty(Wide())) << "the check leaves nothing behind";

  Store("[app]\r\nan=memo\r\n", 24);
  AdoptVirtualStoreCopy(Inside("qmztx.ini"));
  EXPECT_EQ(ReadWide(L"qmztx.ini"), "[app]\r\nan=memo\r\n") << "none beside the program";
  EXPECT_FALSE(StoredCopyLeft()) << "read once";

  Store("[app]\r\nan=old\r\n", 48);
  AdoptVirtualStoreCopy(Inside("qmztx.ini"));
  EXPECT_EQ(ReadWide(L"qmztx.ini"), "[app]\r\nan=memo\r\n") << "the file beside is newer";
  EXPECT_TRUE(StoredCopyLeft());

  WriteWide(L"qmztx.ini", "[app]\r\nan=stale\r\n");
  Store("[app]\r\nan=profit\r\n", 0);
  const FILETIME older{0, 0x01000000};  // long ago
  HANDLE file = CreateFileW(Wide(L"qmztx.ini").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  SetFileTime(file, nullptr, nullptr, &older);
  CloseHandle(file);
  AdoptVirtualStoreCopy(Inside("qmztx.ini"));
  EXPECT_EQ(ReadWide(L"qmztx.ini"), "[app]\r\nan=profit\r\n") << "the file beside is older";
  EXPECT_FALSE(StoredCopyLeft());
}

}  // namespace
}  // namespace kesto
