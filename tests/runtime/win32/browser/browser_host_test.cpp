// The browser control hosted in a real window. Wine has the control but no page engine here,
// so these checks stop at hosting, commands and properties; pages need a real Windows.
#include <exdisp.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "runtime/win32/toolkit/browser/host.h"
#include "runtime/win32/toolkit/browser/popup_window.h"

namespace kesto::win32 {
namespace {

constexpr wchar_t kEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

std::wstring ProgramFileName() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length);
  return name.substr(name.find_last_of(L"\\/") + 1);
}

TEST(BrowserDocumentMode, WritesTheNewestModeForThisProgramPerUser) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kEmulationKey, ProgramFileName().c_str());
  UseNewestDocumentMode();
  UseNewestDocumentMode();  // Once more: the same value, no second entry.
  DWORD mode = 0;
  DWORD size = sizeof mode;
  DWORD type = 0;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kEmulationKey, ProgramFileName().c_str(), RRF_RT_ANY,
                         &type, &mode, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(mode, 11001u);
}

// A top-level window of our own, as the control types give the browser.
class BrowserWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExW(0, L"STATIC", L"browser test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    // Wine makes its windows on X: without a display the case cannot run; with one, a window
    // that cannot be made is a fault of the run, not a reason to pass unseen.
    if (!window_ && !std::getenv("DISPLAY")) GTEST_SKIP() << "no X display for Wine (Xvfb)";
    ASSERT_NE(window_, nullptr) << "no window could be made on the X display "
                                << std::getenv("DISPLAY");
  }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
  }

  void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  // Lets the control work until `done` holds, for at most five seconds.
  template <typename Condition>
  bool PumpUntil(Condition done) {
    for (int i = 0; i < 100 && !done(); ++i) {
      PumpMessages();
      Sleep(50);
    }
    return done();
  }

  HWND window_ = nullptr;
  RECT area_{10, 20, 390, 280};
};

TEST_F(BrowserWindow, ControlIsCreatedInPlaceInTheWindow) {
  auto host = BrowserHost::Create(window_, area_, nullptr);
  ASSERT_NE(host, nullptr);
  // The control's own window sits inside ours, where it was put.
  HWND child = GetWindow(window_, GW_CHILD);
  ASSERT_NE(child, nullptr);
  RECT placed;
  GetWindowRect(child, &placed);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, area_.left);
  EXPECT_EQ(placed.top, area_.top);
  EXPECT_EQ(placed.right - placed.left, area_.right - area_.left);
  EXPECT_EQ(placed.bottom - placed.top, area_.bottom - area_.top);

  host->Move(RECT{0, 0, 200, 100});
  GetWindowRect(child, &placed);
  EXPECT_EQ(placed.right - placed.left, 200);
  EXPECT_EQ(placed.bottom - placed.top, 100);

  host->Show(false);
  EXPECT_FALSE(IsWindowVisible(child));
  host->Show(true);
  EXPECT_TRUE(IsWindowVisible(child));
}

TEST_F(BrowserWindow, NavigationCommandsAndPropertiesWorkWithoutAPage) {
  int calls = 0;
  auto host = BrowserHost::Create(window_, area_, [&calls](int, const ui::Object&, const Text&) {
    ++calls;
    return ui::EventResult{};
  });
  ASSERT_NE(host, nullptr);
  host->SetSilent(true);
  host->SetOffline(true);
  host->SetOffline(false);
  host->Navigate("about:blank");
  EXPECT_TRUE(PumpUntil([&] { return host->LocationUrl() == "about:blank"; }));
  // An empty address is the empty page too; a refresh right after it does no harm.
  host->Navigate("");
  host->Execute(ui::kRefresh);
  EXPECT_TRUE(PumpUntil([&] { return host->LocationUrl() == "about:blank"; }));
  for (int command :
       std::initializer_list<int>{ui::kForward, ui::kBack, ui::kRefresh, ui::kStop, -1, 99}) {
    host->Execute(command);
  }
  host->Focus();
  PumpMessages();
  HWND focus = GetFocus();
  EXPECT_TRUE(IsChild(window_, focus)) << "the keyboard focus is not in the control";
  // Keys meant for other windows, and other messages, are left to the message loop.
  MSG key{window_, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_FALSE(host->TranslateKey(key));
  MSG paint{GetWindow(window_, GW_CHILD), WM_PAINT, 0, 0, 0, {}};
  EXPECT_FALSE(host->TranslateKey(paint));
  key.hwnd = GetFocus();
  host->TranslateKey(key);
  EXPECT_EQ(host->LocationUrl(), "about:blank");
  // No page engine here, so no element events either.
  EXPECT_EQ(calls, 0);
}

TEST_F(BrowserWindow, ManyControlsComeAndGoInOneWindow) {
  for (int i = 0; i < 5; ++i) {
    auto host = BrowserHost::Create(
        window_, area_, [](int, const ui::Object&, const Text&) { return ui::EventResult{false}; });
    ASSERT_NE(host, nullptr);
    host->Navigate("about:blank");
    PumpMessages();
  }
  EXPECT_EQ(GetWindow(window_, GW_CHILD), nullptr);
}

// A page's pop-up opens in a window of the program's own whose browser the page is handed as its
// new window, over the opener; it goes with its close box.
TEST_F(BrowserWindow, APopupGetsAWindowAndABrowserOfItsOwn) {
  IDispatch* automation = OpenPopupWindow(window_);
  ASSERT_NE(automation, nullptr);
  IWebBrowser2* browser = nullptr;
  EXPECT_EQ(automation->QueryInterface(IID_PPV_ARGS(&browser)), S_OK);
  if (browser) browser->Release();
  automation->Release();

  HWND popup = FindWindowW(L"KestoPopupBrowser", nullptr);
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(IsWindowVisible(popup));
  EXPECT_EQ(GetWindow(popup, GW_OWNER), window_);
  EXPECT_NE(GetWindow(popup, GW_CHILD), nullptr) << "the browser control inside";
  PostMessageW(popup, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(popup); }));
}

}  // namespace
}  // namespace kesto::win32
