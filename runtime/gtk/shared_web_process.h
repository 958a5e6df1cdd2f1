// The browser views of the program share one web process: the first view starts it and every
// later one is made related to a view still alive. Each view keeps a content manager of its
// own, so that each panel's page scripts and element events stay its own. Their website data
// and cache are kept under the desktop's data and cache folders, one set per program folder.
#pragma once

#include <webkit2/webkit2.h>

namespace kesto::gtk {

// The web context every view of the program shares, with its website data manager.
WebKitWebContext* ProgramWebContext();

// A new view (floating reference, as webkit_web_view_new gives it) in the shared web process.
// Should that process end without the program asking, the view loads its page again.
WebKitWebView* NewSharedWebView();

}  // namespace kesto::gtk
