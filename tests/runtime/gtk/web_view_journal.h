// What the browser views of this program did once watched: the loads they started, committed,
// finished or failed, with the address each showed then, and web processes that ended. A test
// whose page did not come up says this.
#pragma once

#include <string>

namespace kesto::testing {

// Watches the browser views of the windows now on screen, each from the first call that finds
// it on.
void WatchWebViews();
// One line an event; a test clears it when it starts.
std::string& WebViewJournal();

}  // namespace kesto::testing
