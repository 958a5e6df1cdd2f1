// The GUI tests' entry: a private X display with a window manager and a notification area,
// the toolkit started on it, then the tests. Without an X server every test skips, saying why.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "runtime/toolkit.h"
#include "tests/runtime/gtk/gui_support.h"
#include "tests/runtime/gtk/x_session.h"
#include "tests/runtime/toolkit_conformance/desktop.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  // No session bus, whatever desktop the tests are started from: the tray entry goes to the
  // session's own notification area (the StatusNotifier tests start a bus of their own).
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kesto-test-bus", 1);
  kesto::testing::InstallRecordingBrowser();
  kesto::testing::XSession::Options options;
  options.logFolder = kesto::testing::ArtefactFolder();
  std::string whyNot;
  std::unique_ptr<kesto::testing::XSession> session =
      kesto::testing::XSession::Start(options, whyNot);
  std::unique_ptr<kesto::testing::PageServer> pages;
  kesto::testing::CurrentXSession() = session.get();
  if (session) {
    std::printf("GUI tests on display %s\n", session->display().c_str());
    std::fflush(stdout);
    kesto::toolkit::Start(argc, argv);
    g_object_set(gtk_settings_get_default(), "gtk-double-click-time",
                 kesto::testing::desktop::kDoubleClickMs, nullptr);
    // Before any window loads: the layouts' pages name the platform's real web site.
    pages = std::make_unique<kesto::testing::PageServer>();
    if (!pages->ok()) whyNot = "the local page server (python3) did not start";
  }
  if (!session || !pages->ok()) kesto::testing::GuiSkipReason() = whyNot;
  const int result = RUN_ALL_TESTS();
  pages.reset();
  session.reset();
  kesto::testing::RemoveRecordingBrowser();
  // The toolkit's own threads must not see their libraries torn down under them.
  std::fflush(nullptr);
  _exit(result);
}
