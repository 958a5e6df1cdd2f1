// The program files of the release as Windows meets them: each carries the manifest that runs it
// with the seller's own rights (or a name such as up.qmz, described as an updater, would ask for
// an administrator at every start) and draws its text sharp when the screen is scaled, and a
// version resource with the release's version.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::string ManifestOf(const wchar_t* program) {
  HMODULE module = LoadLibraryExW(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return {};
  std::string text;
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    if (bytes) text.assign(bytes, SizeofResource(module, found));
  }
  FreeLibrary(module);
  return text;
}

std::wstring VersionOf(const wchar_t* program) {
  DWORD ignored = 0;
  std::string block(GetFileVersionInfoSizeW(program, &ignored), '\0');
  if (block.empty() || !GetFileVersionInfoW(program, 0, DWORD(block.size()), block.data())) {
    return {};
  }
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\StringFileInfo\\080404B0\\ProductVersion",
                      reinterpret_cast<void**>(&value), &length)) {
    return {};
  }
  return std::wstring(value, length ? length - 1 : 0);
}

TEST(ReleasePrograms, RunWithTheSellersRightsScaleSharpAndCarryTheReleasesVersion) {
  for (const wchar_t* program : {KESTO_PLATFORM_PROGRAM, KESTO_UPDATER, KESTO_REGTOOL}) {
    const std::string manifest = ManifestOf(program);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << program;
    EXPECT_NE(manifest.find("<gdiScaling"), std::string::npos) << program;
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos) << program;
    EXPECT_EQ(VersionOf(program), KESTO_RELEASE_VERSION) << program;
  }
}

}  // namespace
