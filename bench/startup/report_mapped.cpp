#include "bench/startup/report_mapped.h"

#include <unistd.h>
#include <webkit2/webkit2.h>

#include <cstdio>

namespace kesto::bench {

void ReportWhenMapped(GtkWidget* window) {
  g_signal_connect(window, "map-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer) {
                     std::printf("mapped\n");
                     std::fflush(stdout);
                     _exit(0);
                     return FALSE;
                   }),
                   nullptr);
}

void KeepWebTrafficLocal(WebKitWebContext* context) {
  WebKitNetworkProxySettings* proxy =
      webkit_network_proxy_settings_new("http://127.0.0.1:1", nullptr);
  webkit_website_data_manager_set_network_proxy_settings(
      webkit_web_context_get_website_data_manager(context), WEBKIT_NETWORK_PROXY_MODE_CUSTOM,
      proxy);
  webkit_network_proxy_settings_free(proxy);
}

}  // namespace kesto::bench
