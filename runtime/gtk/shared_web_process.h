// The browser views of the program share one web process: the first view starts it and every
// later one is made related to a view still alive. Each view keeps a content manager of its
// own, so that each panel's page scripts and element events stay its own.
#pragma once

#include <webkit2/webkit2.h>

namespace kesto::gtk {

// A new view (floating reference, as webkit_web_view_new gives it) in the shared web process.
// Should that process end without the program asking, the view loads its page again.
WebKitWebView* NewSharedWebView();

}  // namespace kesto::gtk
