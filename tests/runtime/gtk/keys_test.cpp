#include "runtime/gtk/keys.h"

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kesto::gtk
