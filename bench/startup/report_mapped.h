// Both windows of the benchmark say "mapped" on their standard output the moment their window
// is on screen, then end; all their web traffic goes to a closed port on 127.0.0.1.
#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace kesto::bench {

void ReportWhenMapped(GtkWidget* window);
// The web traffic of the views of `context`.
void KeepWebTrafficLocal(WebKitWebContext* context);

}  // namespace kesto::bench
