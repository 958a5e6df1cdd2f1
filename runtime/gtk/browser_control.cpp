// The embedded browser (HtmlViewer) and the HTML interface box (WebUIControl) on WebKitGTK:
// the address, the browser commands and, for the interface box, the page's element events.
#include <webkit2/webkit2.h>

#include <memory>

#include "runtime/gtk/controls.h"
#include "runtime/gtk/element_event_bridge.h"
#include "runtime/gtk/open_address.h"
#include "runtime/gtk/shared_web_process.h"
#include "runtime/posix/native_text.h"
#include "runtime/toolkit_front/browser_box.h"
#include "runtime/toolkit_front/element_event.h"
#include "runtime/toolkit_front/page_addresses.h"

namespace kesto::gtk {

namespace {

class Browser : public front::BrowserBox<Control> {
 public:
  // The browser engine's view is made once the window is on screen, so that the window comes
  // up without waiting for it; until then the box keeps the address it is to show.
  Browser(LoadedWindow& window, const ui::ControlLayout& layout) : BrowserBox(window, layout) {
    holder_ = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    Adopt(holder_);
    whenMapped_ = g_signal_connect(window.window(), "map-event", G_CALLBACK(OnWindowMapped), this);
  }

  ~Browser() override {
    if (later_) g_source_remove(later_);
    if (again_) g_source_remove(again_);
    if (view_) {
      g_signal_handlers_disconnect_by_data(view_, this);
      g_object_unref(view_);
    }
    if (whenMapped_ && owner().window()) {
      g_signal_handler_disconnect(owner().window(), whenMapped_);
    }
  }

  GtkWidget* FocusTarget() override {
    MakeView();
    return GTK_WIDGET(view_);
  }

  void Execute(int command) override {
    MakeView();
    switch (command) {
      case ui::kForward:
        webkit_web_view_go_forward(view_);
        break;
      case ui::kBack:
        webkit_web_view_go_back(view_);
        break;
      case ui::kRefresh:
        Refresh();
        break;
      case ui::kStop:
        webkit_web_view_stop_loading(view_);
        break;
      case ui::kPrint:
      case ui::kPrintPreview: {
        WebKitPrintOperation* print = webkit_print_operation_new(view_);
        webkit_print_operation_run_dialog(print, GTK_WINDOW(owner().window()));
        g_object_unref(print);
        break;
      }
      default:
        break;  // no home or search page of its own; saving and page setup: none
    }
  }

 private:
  // Right after a new address (the catalogue button sets one and refreshes at once), WebKit's
  // reload would load the previous page again and drop the navigation still on its way; the
  // address being loaded is loaded afresh instead.
  void Refresh() {
    const gchar* active = webkit_web_view_get_uri(view_);
    if (!webkit_web_view_is_loading(view_) || !active) {
      webkit_web_view_reload(view_);
      return;
    }
    const std::string uri = active;
    webkit_web_view_load_uri(view_, uri.c_str());
  }

  void MakeView() {
    if (view_) return;
    // Held until the box goes, so that its handlers can be taken off whenever the window went.
    view_ = WEBKIT_WEB_VIEW(g_object_ref_sink(NewSharedWebView()));
    g_signal_connect(view_, "create", G_CALLBACK(OpenNewWindowOutside), nullptr);
    g_signal_connect(view_, "notify::uri", G_CALLBACK(OnAddressChanged), this);
    g_signal_connect(view_, "load-changed", G_CALLBACK(OnLoadChanged), this);
    if (layout().type == ui::ControlType::kWebUIControl) {
      bridge_ = std::make_unique<ElementEventBridge>(
          view_,
          [this](int code, const Text& id, const Text& name, const Text& page) {
            return ReportElementEvent(code, front::ElementEventObject(id, name), page);
          },
          [this] { return std::shared_ptr<void>(Hold()); });
    }
    gtk_box_pack_start(GTK_BOX(holder_), GTK_WIDGET(view_), TRUE, TRUE, 0);
    gtk_widget_show(GTK_WIDGET(view_));
    Navigate(address());
  }

  // Once the window has been drawn: an idle moment after it is mapped.
  static gboolean OnWindowMapped(GtkWidget* window, GdkEvent*, Browser* self) {
    g_signal_handler_disconnect(window, self->whenMapped_);
    self->whenMapped_ = 0;
    self->later_ = g_idle_add(
        [](gpointer data) -> gboolean {
          auto* browser = static_cast<Browser*>(data);
          browser->later_ = 0;
          browser->MakeView();
          return G_SOURCE_REMOVE;
        },
        self);
    return FALSE;
  }

  // Now and then, while the first pages are on their way, WebKit replaces the web process the
  // views share and drops the pages still in the old one without a word: no load fails, no
  // process is reported lost, the address just goes back to empty and the panel stays white.
  // The address also goes empty for a moment when WebKit carries a navigation over to another
  // process, which then goes on by itself; so the view is looked at again a little later, and
  // one still with no page and nothing loading loads its box's address again. A few times at
  // most until a page arrives, so that a process that keeps failing is not started forever.
  static void OnAddressChanged(WebKitWebView*, GParamSpec*, Browser* self) {
    if (!self->HasNoPage() || self->again_ || self->loadsAgain_ >= kMostLoadsAgain) return;
    self->again_ = g_timeout_add(
        kLookAgainMs,
        [](gpointer data) -> gboolean {
          auto* browser = static_cast<Browser*>(data);
          browser->again_ = 0;
          if (browser->HasNoPage()) {
            ++browser->loadsAgain_;
            browser->Navigate(browser->address());
          }
          return G_SOURCE_REMOVE;
        },
        self);
  }

  // A view being destroyed with its window empties its address too: that is no page to load.
  bool HasNoPage() const {
    if (gtk_widget_in_destruction(GTK_WIDGET(view_))) return false;
    const gchar* shown = webkit_web_view_get_uri(view_);
    return (!shown || !*shown) && !webkit_web_view_is_loading(view_) && !address().empty();
  }

  static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, Browser* self) {
    if (event == WEBKIT_LOAD_COMMITTED) self->loadsAgain_ = 0;
  }

  Text ShownAddress() const override {
    const gchar* shown = view_ ? webkit_web_view_get_uri(view_) : nullptr;
    return shown ? posix::Utf8ToGbk(shown) : Text{};
  }

  bool HasView() const override { return view_ != nullptr; }

  void Load(const Text& address) override {
    const std::string uri = front::WithScheme(posix::GbkToUtf8(address));
    webkit_web_view_load_uri(view_, uri.c_str());
  }

  // A page asking for a window of its own gets the user's web browser instead, for a web page
  // or mail only.
  static GtkWidget* OpenNewWindowOutside(WebKitWebView*, WebKitNavigationAction* action, gpointer) {
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    if (const gchar* uri = webkit_uri_request_get_uri(request)) {
      OpenInDefaultBrowser(posix::Utf8ToGbk(uri));
    }
    return nullptr;
  }

  GtkWidget* holder_ = nullptr;
  WebKitWebView* view_ = nullptr;
  std::unique_ptr<ElementEventBridge> bridge_;
  gulong whenMapped_ = 0;
  guint later_ = 0;
  static constexpr int kMostLoadsAgain = 3;
  static constexpr guint kLookAgainMs = 3000;
  guint again_ = 0;     // loading the address again, after WebKit dropped the page
  int loadsAgain_ = 0;  // since the last page arrived
};

}  // namespace

}  // namespace kesto::gtk

namespace kesto::front {

std::unique_ptr<Control> MakeBrowser(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<gtk::Browser>(static_cast<gtk::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
