#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include "runtime/gtk/keys.h"
#include "runtime/gtk/open_address.h"

namespace kesto::gtk {
namespace {

TEST(Keys, VirtualKeyCodesAndModifierStates) {
  EXPECT_EQ(VirtualKeyOf(GDK_KEY_Return), 13);
  EXPECT_EQ(VirtualKeyOf(GDK_KEY_KP_Enter), 13);
  EXPECT_EQ(VirtualKeyOf(GDK_KEY_a), 'A');
  EXPECT_EQ(VirtualKeyOf(GDK_KEY_Z), 'Z');
  EXPECT_EQ(VirtualKeyOf(GDK_KEY_7), '7');
  EXPECT_EQ(VirtualKeyOf(GDK_KEY_F5), 0x74);
  EXPECT_EQ(VirtualKeyOf(GDK_KEY_Escape), 27);
  EXPECT_EQ(VirtualKeyOf(GDK_KEY_dead_acute), 0);
  EXPECT_EQ(KeyStateOf(0), 0);
  EXPECT_EQ(KeyStateOf(GDK_CONTROL_MASK | GDK_MOD1_MASK), 1 | 4);
  EXPECT_EQ(KeyStateOf(GDK_SHIFT_MASK | GDK_BUTTON1_MASK), 2);
}

TEST(BrowserAddress, AddsHttpOnlyWhereNoSchemeIsNamed) {
  EXPECT_EQ(BrowserAddress("http://a.example/x"), "http://a.example/x");
  EXPECT_EQ(BrowserAddress("https://a.example"), "https://a.example");
  EXPECT_EQ(BrowserAddress("mailto:someone@a.example"), "mailto:someone@a.example");
  EXPECT_EQ(BrowserAddress("about:blank"), "about:blank");
  EXPECT_EQ(BrowserAddress("www.a.example/pay"), "http://www.a.example/pay");
  // A host with a port looks like a scheme but is not one.
  EXPECT_EQ(BrowserAddress("localhost:8000/pay"), "http://localhost:8000/pay");
  EXPECT_EQ(BrowserAddress("127.0.0.1:8000"), "http://127.0.0.1:8000");
}

}  // namespace
}  // namespace kesto::gtk
