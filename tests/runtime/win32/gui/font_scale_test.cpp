// Windows 7 at 125 %, as Wine at any scale, tells a program the screen's dpi without scaling its
// windows: the fixed layouts keep their pixels, and so must every font in them, or a text would
// outgrow its control and be cut. The scale is set for a program of the toolkit started after it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/win32/wide_text.h"

namespace kesto::testing {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// The user's scale for the programs started while it lives; the one before comes back after.
class ScreenScale {
 public:
  explicit ScreenScale(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof before_;
    had_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&before_),
                            &size) == ERROR_SUCCESS;
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                   sizeof dpi);
  }
  ~ScreenScale() {
    if (had_) {
      RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before_),
                     sizeof before_);
    } else {
      RegDeleteValueW(key_, L"LogPixels");
    }
    RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  DWORD before_ = 0;
  bool had_ = false;
};

// What the toolkit's peer reports: dpi, default font, 14-pixel font, message font.
std::string FontsReport() {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring report =
      std::wstring(folder) + L"kesto-fonts-" + std::to_wstring(GetCurrentProcessId());
  std::wstring line =
      L"\"" + win32::ToWide(KESTO_GUI_TOOLKIT_PEER) + L"\" \"" + report + L"\" fonts";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return {};
  }
  WaitForSingleObject(started.hProcess, 30000);
  CloseHandle(started.hProcess);
  CloseHandle(started.hThread);
  std::string text(64, '\0');
  if (std::FILE* in = _wfopen(report.c_str(), L"r")) {
    text.resize(std::fread(text.data(), 1, text.size(), in));
    std::fclose(in);
  }
  DeleteFileW(report.c_str());
  return text;
}

TEST(ScreenScale, TheFontsKeepTheLayoutsPixelsWhereTheWindowsAreNotScaled) {
  ScreenScale scale(120);
  int dpi = 0;
  long defaultFont = 0, pixelFont = 0, messageFont = 0;
  const std::string report = FontsReport();
  ASSERT_EQ(
      std::sscanf(report.c_str(), "%d %ld %ld %ld", &dpi, &defaultFont, &pixelFont, &messageFont),
      4)
      << report;
  ASSERT_EQ(dpi, 120) << "the program took the scale";
  EXPECT_EQ(pixelFont, -14);
  EXPECT_EQ(defaultFont, MulDiv(messageFont, 96, 120)) << "the message font at 100 %";
  EXPECT_NE(defaultFont, messageFont);
}

}  // namespace
}  // namespace kesto::testing
