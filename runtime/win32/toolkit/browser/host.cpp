// The browser control hosted in place in a window of ours.
#include "runtime/win32/toolkit/browser/host.h"

#include <exdisp.h>
#include <mshtml.h>
#include <wrl/client.h>

#include <string>
#include <string_view>

#include "runtime/win32/toolkit/browser/automation.h"
#include "runtime/win32/toolkit/browser/document_events.h"
#include "runtime/win32/toolkit/browser/event_connection.h"
#include "runtime/win32/toolkit/browser/navigation_events.h"
#include "runtime/win32/toolkit/browser/page_text.h"
#include "runtime/win32/toolkit/browser/popup_window.h"
#include "runtime/win32/toolkit/browser/site.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

using Microsoft::WRL::ComPtr;

// A text property of the control, cleaned like any page text.
template <typename Getter>
Text ReadText(Getter get) {
  BSTR value = nullptr;
  Text text;
  if (SUCCEEDED(get(&value)) && value) {
    text = FromPageText(std::wstring_view(value, SysStringLen(value)), kPageTextLimit);
  }
  SysFreeString(value);
  return text;
}

class HostedBrowser final : public BrowserHost {
 public:
  HostedBrowser(HWND parent, const RECT& area, ElementEventSink sink, OwnWindowEvents ownWindow)
      : parent_(parent), area_(area), handler_(std::move(sink)), ownWindow_(std::move(ownWindow)) {}
  ~HostedBrowser() override;

  bool Start();

  void Navigate(const Text& address) override;
  void Execute(int command) override;
  Text LocationUrl() override;
  Text StatusText() override { return statusText_; }
  Text Title() override;
  void SetSilent(bool silent) override;
  void SetOffline(bool offline) override;
  void Focus() override;
  void Move(const RECT& area) override;
  void Show(bool visible) override;
  bool TranslateKey(MSG& message) override;
  IDispatch* Automation() override;

 private:
  void NavigateTo(const std::wstring& address, long flags);
  void Refresh();
  void ExecuteCommand(OLECMDID command);
  void FollowDocument();
  HWND ControlWindow() const;

  const HWND parent_;
  RECT area_;
  const ElementEventSink handler_;
  const OwnWindowEvents ownWindow_;
  bool oleStarted_ = false;
  ComPtr<BrowserSite> site_;
  ComPtr<IOleObject> control_;
  ComPtr<IOleInPlaceObject> inPlace_;
  ComPtr<IOleInPlaceActiveObject> activeObject_;
  ComPtr<IWebBrowser2> browser_;
  ComPtr<NavigationEventSink> navigationSink_;
  EventConnection navigationEvents_;
  ComPtr<DocumentEventSink> documentSink_;
  // The top-level document; its frames' documents are never listened to.
  ComPtr<IUnknown> topDocument_;
  EventConnection documentEvents_;
  // The address asked for whose document has not come yet.
  std::wstring pendingAddress_;
  Text statusText_;
};

bool HostedBrowser::Start() {
  // In-place activation needs OLE on this thread; each successful start is undone once.
  oleStarted_ = SUCCEEDED(OleInitialize(nullptr));
  if (FAILED(CoCreateInstance(__uuidof(WebBrowser), nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&control_)))) {
    return false;
  }
  site_.Attach(new BrowserSite(parent_, area_));
  if (FAILED(control_->SetClientSite(site_.Get())) ||
      FAILED(
          control_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, parent_, &area_)) ||
      FAILED(control_.As(&inPlace_)) || FAILED(control_.As(&browser_))) {
    return false;
  }
  control_.As(&activeObject_);
  inPlace_->SetObjectRects(&area_, &area_);
  // Script error dialogs would stop the panels until someone answers them.
  browser_->put_Silent(VARIANT_TRUE);
  // A page's pop-up keeps its target name, which its opener may use again.
  if (ownWindow_.closing) browser_->put_RegisterAsBrowser(VARIANT_TRUE);
  navigationSink_.Attach(new NavigationEventSink(
      {[this] { FollowDocument(); },
       [this](const std::wstring& text) { statusText_ = FromPageText(text, kPageTextLimit); },
       // A pop-up's page that no window of our own could be made for is shown in place, with
       // the control's cookies (but without its POST body).
       [this](const std::wstring& address) { NavigateTo(address, 0); },
       [this] { return OpenPopupWindow(parent_); }, ownWindow_.titleChanged, ownWindow_.closing}));
  navigationEvents_.Connect(browser_.Get(), __uuidof(DWebBrowserEvents2), navigationSink_.Get());
  if (handler_) {
    documentSink_.Attach(new DocumentEventSink(handler_, [this] { return LocationUrl(); }));
  }
  return true;
}

HostedBrowser::~HostedBrowser() {
  if (navigationSink_) navigationSink_->Detach();
  if (documentSink_) documentSink_->Detach();
  navigationEvents_.Disconnect();
  documentEvents_.Disconnect();
  topDocument_.Reset();
  if (browser_) browser_->Stop();
  if (inPlace_) inPlace_->InPlaceDeactivate();
  if (control_) {
    control_->Close(OLECLOSE_NOSAVE);
    control_->SetClientSite(nullptr);
  }
  browser_.Reset();
  activeObject_.Reset();
  inPlace_.Reset();
  control_.Reset();
  site_.Reset();
  navigationSink_.Reset();
  documentSink_.Reset();
  if (oleStarted_) OleUninitialize();
}

// Each new top-level document gets the sink; the previous page's connection ends with it. A
// frame's document, whatever its site, is never listened to: only the panel's own page is heard.
void HostedBrowser::FollowDocument() {
  ComPtr<IDispatch> document;
  ComPtr<IUnknown> identity;
  if (FAILED(browser_->get_Document(&document)) || !document || FAILED(document.As(&identity)) ||
      identity == topDocument_) {
    return;
  }
  topDocument_ = identity;
  pendingAddress_.clear();
  documentEvents_.Disconnect();
  if (documentSink_) {
    documentEvents_.Connect(document.Get(), __uuidof(HTMLDocumentEvents2), documentSink_.Get());
  }
}

void HostedBrowser::NavigateTo(const std::wstring& address, long flags) {
  Variant target;
  target.get()->vt = VT_BSTR;
  target.get()->bstrVal = SysAllocStringLen(address.data(), static_cast<UINT>(address.size()));
  if (!target.get()->bstrVal) return;
  Variant flagsValue;
  flagsValue.get()->vt = VT_I4;
  flagsValue.get()->lVal = flags;
  Variant none;
  pendingAddress_ = address;
  browser_->Navigate2(target.get(), flagsValue.get(), none.get(), none.get(), none.get());
}

void HostedBrowser::Navigate(const Text& address) {
  // An empty address shows an empty page rather than an error page.
  NavigateTo(address.empty() ? L"about:blank" : ToWide(address), 0);
}

// A refresh right after a navigation was asked for means the new page, which has not arrived
// yet: the control would reload the previous one, so the new address is fetched again instead.
void HostedBrowser::Refresh() {
  if (!pendingAddress_.empty()) {
    NavigateTo(std::wstring(pendingAddress_), navNoReadFromCache);
  } else {
    browser_->Refresh();
  }
}

void HostedBrowser::ExecuteCommand(OLECMDID command) {
  browser_->ExecWB(command, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
}

void HostedBrowser::Execute(int command) {
  switch (command) {
    case ui::kForward:
      browser_->GoForward();
      break;
    case ui::kBack:
      browser_->GoBack();
      break;
    case ui::kHome:
      browser_->GoHome();
      break;
    case ui::kSearch:
      browser_->GoSearch();
      break;
    case ui::kRefresh:
      Refresh();
      break;
    case ui::kStop:
      browser_->Stop();
      break;
    case ui::kSaveAs:
      ExecuteCommand(OLECMDID_SAVEAS);
      break;
    case ui::kPrint:
      ExecuteCommand(OLECMDID_PRINT);
      break;
    case ui::kPrintPreview:
      ExecuteCommand(OLECMDID_PRINTPREVIEW);
      break;
    case ui::kPageSetup:
      ExecuteCommand(OLECMDID_PAGESETUP);
      break;
  }
}

Text HostedBrowser::LocationUrl() {
  return ReadText([this](BSTR* value) { return browser_->get_LocationURL(value); });
}

Text HostedBrowser::Title() {
  return ReadText([this](BSTR* value) { return browser_->get_LocationName(value); });
}

void HostedBrowser::SetSilent(bool silent) {
  browser_->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
}

void HostedBrowser::SetOffline(bool offline) {
  browser_->put_Offline(offline ? VARIANT_TRUE : VARIANT_FALSE);
}

HWND HostedBrowser::ControlWindow() const {
  HWND window = nullptr;
  if (FAILED(inPlace_->GetWindow(&window))) return nullptr;
  return window;
}

void HostedBrowser::Focus() {
  control_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_.Get(), 0, parent_, &area_);
  // Activation puts the focus into the document; only where it did not is it put on the control.
  HWND window = ControlWindow();
  HWND focus = GetFocus();
  if (window && focus != window && !IsChild(window, focus)) SetFocus(window);
}

void HostedBrowser::Move(const RECT& area) {
  area_ = area;
  site_->SetArea(area);
  inPlace_->SetObjectRects(&area_, &area_);
}

void HostedBrowser::Show(bool visible) {
  if (HWND window = ControlWindow()) ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
}

bool HostedBrowser::TranslateKey(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !activeObject_) {
    return false;
  }
  HWND window = ControlWindow();
  if (!window || (message.hwnd != window && !IsChild(window, message.hwnd))) return false;
  return activeObject_->TranslateAccelerator(&message) == S_OK;
}

IDispatch* HostedBrowser::Automation() {
  IDispatch* automation = nullptr;
  if (FAILED(browser_->get_Application(&automation))) return nullptr;
  return automation;
}

}  // namespace

std::unique_ptr<BrowserHost> BrowserHost::Create(HWND parent, const RECT& area,
                                                 ElementEventSink sink, OwnWindowEvents ownWindow) {
  auto host = std::make_unique<HostedBrowser>(parent, area, std::move(sink), std::move(ownWindow));
  if (!host->Start()) return nullptr;
  return host;
}

}  // namespace kesto::win32
