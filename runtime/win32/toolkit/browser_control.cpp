// The embedded browser (HtmlViewer) and the HTML interface box (WebUIControl): a child window
// that holds the system's browser control, with the address, the browser commands and, for the
// interface box, the page's element events. Without a browser control on the system the box
// stays an empty window and the rest of the window works.
#include <algorithm>
#include <vector>

#include "runtime/toolkit_front/browser_box.h"
#include "runtime/win32/toolkit/browser/host.h"
#include "runtime/win32/toolkit/browser/popup_window.h"
#include "runtime/win32/toolkit/controls.h"

namespace kesto::win32 {

namespace {

// The browser controls alive on the user-interface thread, for the message loop's keys.
std::vector<BrowserHost*>& LiveHosts() {
  static std::vector<BrowserHost*> hosts;
  return hosts;
}

class Browser : public front::BrowserBox<Control> {
 public:
  using BrowserBox::BrowserBox;

  ~Browser() override {
    auto& hosts = LiveHosts();
    hosts.erase(std::remove(hosts.begin(), hosts.end(), host_.get()), hosts.end());
  }

  void Create(HWND parent) override {
    HWND holder = CreateDrawnControl(parent);
    ElementEventSink sink;
    if (layout().type == ui::ControlType::kWebUIControl) {
      sink = [this](int type, const ui::Object& event, const Text& page) {
        return ReportElementEvent(type, event, page);
      };
    }
    host_ = BrowserHost::Create(holder, ClientArea(), std::move(sink));
    if (host_) LiveHosts().push_back(host_.get());
    Navigate(address());
  }

  HWND FocusTarget() override { return hwnd(); }

  std::optional<ui::Value> ReadOther(int index) override {
    switch (index) {
      case ui::prop::browser::kStatusText:
        return host_ ? host_->StatusText() : Text{};
      case ui::prop::browser::kCaption:
        return host_ ? host_->Title() : Text{};
      default:
        return std::nullopt;
    }
  }

  // Offline and silent are kept as written too, so they read back.
  bool WriteOther(int index, const ui::Value& value) override {
    switch (index) {
      case ui::prop::browser::kOffline:
        if (host_) host_->SetOffline(BoolOf(value));
        return false;
      case ui::prop::browser::kSilent:
        if (host_) host_->SetSilent(BoolOf(value));
        return false;
      default:
        return false;
    }
  }

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    if (host_) {
      switch (message) {
        case WM_SIZE:
          host_->Move(ClientArea());
          return 0;
        case WM_SHOWWINDOW:
          host_->Show(wParam != 0);
          return 0;
        case WM_SETFOCUS:
          host_->Focus();
          return 0;
        default:
          break;
      }
    }
    return Control::OnMessage(message, wParam, lParam, handled);
  }

  void Execute(int command) override {
    if (host_) host_->Execute(command);
  }

 private:
  RECT ClientArea() const {
    RECT area{};
    GetClientRect(hwnd(), &area);
    return area;
  }

  Text ShownAddress() const override { return host_ ? host_->LocationUrl() : Text{}; }
  bool HasView() const override { return host_ != nullptr; }
  void Load(const Text& address) override { host_->Navigate(address); }

  std::unique_ptr<BrowserHost> host_;
};

}  // namespace

bool BrowserTookKey(MSG& message) {
  for (BrowserHost* host : LiveHosts()) {
    if (host->TranslateKey(message)) return true;
  }
  return PopupTookKey(message);
}

}  // namespace kesto::win32

namespace kesto::front {

std::unique_ptr<Control> MakeBrowser(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<win32::Browser>(static_cast<win32::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
