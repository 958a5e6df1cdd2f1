// What the tray tests share: the platform's tray handlers cut down to what the tray needs, and
// the main window shown with its tray entry.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "runtime/native.h"
#include "runtime/ui.h"
#include "tests/runtime/toolkit_conformance/tray_handlers.h"

namespace kesto::testing {

// The XEmbed side of the main window's tray entry, a GtkStatusIcon, which GTK has deprecated.
GtkStatusIcon* XEmbedEntry();
bool XEmbedEntryShown();
bool XEmbedEntryEmbedded();

class TrayFixture : public ::testing::Test {
 protected:
  // The main window shown, its tray entry given the platform's icon and tip.
  void SetUp() override;

  native::Handle handle_ = 0;
};

}  // namespace kesto::testing
