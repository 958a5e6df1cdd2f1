// The control's own events as the host follows them.
#include <exdispid.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/win32/toolkit/browser/navigation_events.h"
#include "tests/runtime/win32/browser/fake_page_object.h"

namespace kesto::win32 {
namespace {

class NavigationEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    sink_ = new NavigationEventSink(
        {[this] { ++loaded_; }, [this](const std::wstring& text) { texts_.push_back(text); },
         [this](const std::wstring& address) { newWindows_.push_back(address); }, nullptr, nullptr,
         nullptr});
  }
  void TearDown() override { sink_->Release(); }

  // Arguments as the control passes them: the last one first.
  void Fire(DISPID id, std::vector<VARIANT> arguments) {
    DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    EXPECT_EQ(sink_->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              S_OK);
  }

  static VARIANT Bstr(BSTR text) {
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = text;
    return value;
  }

  NavigationEventSink* sink_ = nullptr;
  int loaded_ = 0;
  std::vector<std::wstring> texts_;
  std::vector<std::wstring> newWindows_;
};

TEST_F(NavigationEvents, DocumentsAndStatusTextsReachTheHostUntilItDetaches) {
  VARIANT none;
  VariantInit(&none);
  Fire(DISPID_NAVIGATECOMPLETE2, {none, none});
  Fire(DISPID_DOCUMENTCOMPLETE, {none, none});
  Fire(DISPID_BEFORENAVIGATE2, {none, none, none, none, none, none, none});
  EXPECT_EQ(loaded_, 2);

  BSTR text = SysAllocStringLen(L"a\0b", 3);
  Fire(DISPID_STATUSTEXTCHANGE, {Bstr(text)});
  Fire(DISPID_STATUSTEXTCHANGE, {Bstr(nullptr)});
  Fire(DISPID_STATUSTEXTCHANGE, {});
  Fire(DISPID_STATUSTEXTCHANGE, {none});
  ASSERT_EQ(texts_.size(), 1u);
  EXPECT_EQ(texts_[0], std::wstring(L"a\0b", 3));

  sink_->Detach();
  Fire(DISPID_DOCUMENTCOMPLETE, {none, none});
  Fire(DISPID_STATUSTEXTCHANGE, {Bstr(text)});
  EXPECT_EQ(loaded_, 2);
  EXPECT_EQ(texts_.size(), 1u);
  SysFreeString(text);

  // A call without arguments at all is refused, not read.
  EXPECT_EQ(sink_->Invoke(DISPID_STATUSTEXTCHANGE, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr,
                          nullptr, nullptr),
            E_INVALIDARG);
}

// target=_blank, window.open and the like would open a browser without the control's cookies:
// where the host makes no browser of its own, the window is refused and its address handed on,
// a web page's or mail's only. The control
// goes nowhere else either, and a page's window.close() is refused.
TEST_F(NavigationEvents, PagesReachOnlyWebPagesAndMailAndKeepTheirWindow) {
  VARIANT none, flags;
  VariantInit(&none);
  flags.vt = VT_I4;
  flags.lVal = 0;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT cancelArgument;
  cancelArgument.vt = VT_BYREF | VT_BOOL;
  cancelArgument.pboolVal = &cancel;
  const wchar_t* addresses[] = {L"https://pay.example/login",
                                L"HTTP://a.example/\x4E2D",
                                L"MailTo:shop@a.example",
                                L"file:///C:/Windows/System32/calc.exe",
                                L"FILE://server/share/x.exe",
                                L"\\\\server\\share\\x.exe",
                                L"smb://server/share",
                                L"javascript:alert(1)",
                                L"vbscript:msgbox(1)",
                                L"data:text/html,<b>x</b>",
                                L"ms-settings:display",
                                L"\xFF46ile:///C:/x",
                                L"about:blank",
                                L""};
  for (const wchar_t* wanted : addresses) {
    BSTR address = SysAllocString(wanted);
    cancel = VARIANT_FALSE;
    // bstrUrl, bstrUrlContext, dwFlags, Cancel, ppDisp: the last one first.
    Fire(DISPID_NEWWINDOW3, {Bstr(address), none, flags, cancelArgument, none});
    EXPECT_EQ(cancel, VARIANT_TRUE);
    SysFreeString(address);
  }
  Fire(DISPID_NEWWINDOW3, {Bstr(nullptr), none, flags, cancelArgument, none});
  EXPECT_EQ(newWindows_,
            (std::vector<std::wstring>{L"https://pay.example/login", L"HTTP://a.example/\x4E2D",
                                       L"MailTo:shop@a.example"}));

  // The control itself goes to web pages and mail, its own pages and a page's script links; a
  // file, a share or a program's own scheme it would hand to the system.
  auto refusesToGo = [&](const wchar_t* wanted) {
    BSTR address = SysAllocString(wanted);
    VARIANT url = Bstr(address);
    VARIANT urlReference;
    urlReference.vt = VT_BYREF | VT_VARIANT;
    urlReference.pvarVal = &url;
    cancel = VARIANT_FALSE;
    // pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel: the last one first.
    Fire(DISPID_BEFORENAVIGATE2, {cancelArgument, none, none, none, flags, urlReference, none});
    SysFreeString(address);
    return cancel == VARIANT_TRUE;
  };
  for (const wchar_t* goes :
       {L"http://shop.example/app", L"HTTPS://pay.example/", L"mailto:a@shop.example",
        L"about:blank", L"res://ieframe.dll/navcancl.htm", L"javascript:void(0)"}) {
    EXPECT_FALSE(refusesToGo(goes)) << goes;
  }
  for (const wchar_t* stays : {L"file:///C:/Windows/System32/calc.exe", L"smb://server/share",
                               L"ms-settings:display", L"kesto-tool:run"}) {
    EXPECT_TRUE(refusesToGo(stays)) << stays;
  }

  cancel = VARIANT_FALSE;
  VARIANT childWindow;
  childWindow.vt = VT_BOOL;
  childWindow.boolVal = VARIANT_FALSE;
  Fire(DISPID_WINDOWCLOSING, {cancelArgument, childWindow});
  EXPECT_EQ(cancel, VARIANT_TRUE);
  Fire(DISPID_WINDOWCLOSING, {none});  // too few arguments: nothing is written
}

// A web page's new window opens in the host's own browser, which the control is handed; mail
// stays in place and anything else goes nowhere. The page's title and its window.close() reach
// a host that has a window of its own.
TEST_F(NavigationEvents, AWebPagesNewWindowOpensInTheHostsOwnBrowser) {
  testing::FakePageObject made;
  int closings = 0;
  std::vector<std::wstring> titles;
  sink_->Release();
  sink_ = new NavigationEventSink(
      {nullptr, nullptr, [this](const std::wstring& address) { newWindows_.push_back(address); },
       [&]() -> IDispatch* {
         made.AddRef();
         return &made;
       },
       [&](const std::wstring& title) { titles.push_back(title); }, [&] { ++closings; }});
  VARIANT none, flags;
  VariantInit(&none);
  flags.vt = VT_I4;
  flags.lVal = 0;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT cancelArgument;
  cancelArgument.vt = VT_BYREF | VT_BOOL;
  cancelArgument.pboolVal = &cancel;
  IDispatch* given = nullptr;
  VARIANT browser;
  browser.vt = VT_BYREF | VT_DISPATCH;
  browser.ppdispVal = &given;
  auto open = [&](const wchar_t* wanted) {
    BSTR address = SysAllocString(wanted);
    cancel = VARIANT_FALSE;
    given = nullptr;
    Fire(DISPID_NEWWINDOW3, {Bstr(address), none, flags, cancelArgument, browser});
    SysFreeString(address);
  };

  open(L"https://pay.example/checkout");
  EXPECT_EQ(cancel, VARIANT_FALSE);
  EXPECT_EQ(given, &made);
  EXPECT_EQ(made.References(), 2u) << "one reference more, handed to the control";
  for (const wchar_t* wanted : {L"mailto:shop@a.example", L"file:///C:/x.exe", L"javascript:x"}) {
    open(wanted);
    EXPECT_EQ(cancel, VARIANT_TRUE) << wanted;
    EXPECT_EQ(given, nullptr) << wanted;
  }
  EXPECT_EQ(newWindows_, std::vector<std::wstring>{L"mailto:shop@a.example"});

  BSTR title = SysAllocString(L"\x652F\x4ED8");
  Fire(DISPID_TITLECHANGE, {Bstr(title)});
  SysFreeString(title);
  EXPECT_EQ(titles, std::vector<std::wstring>{L"\x652F\x4ED8"});
  cancel = VARIANT_FALSE;
  VARIANT childWindow;
  childWindow.vt = VT_BOOL;
  childWindow.boolVal = VARIANT_FALSE;
  Fire(DISPID_WINDOWCLOSING, {cancelArgument, childWindow});
  EXPECT_EQ(cancel, VARIANT_TRUE) << "the host closes the window by its own road";
  EXPECT_EQ(closings, 1);
}

}  // namespace
}  // namespace kesto::win32
