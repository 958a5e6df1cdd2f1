#include "runtime/gtk/keys.h"

#include <gdk/gdkkeysyms.h>

namespace kesto::gtk {

int KeyStateOf(guint modifiers) {
  return (modifiers & GDK_CONTROL_MASK ? 1 : 0) | (modifiers & GDK_SHIFT_MASK ? 2 : 0) |
         (modifiers & GDK_MOD1_MASK ? 4 : 0);
}

int VirtualKeyOf(guint keyval) {
  if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return 'A' + int(keyval - GDK_KEY_a);
  if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return 'A' + int(keyval - GDK_KEY_A);
  if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return '0' + int(keyval - GDK_KEY_0);
  if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return 0x60 + int(keyval - GDK_KEY_KP_0);
  if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return 0x70 + int(keyval - GDK_KEY_F1);
  switch (keyval) {
    case GDK_KEY_BackSpace:
      return 0x08;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
      return 0x09;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
      return 0x0D;
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R:
      return 0x10;
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R:
      return 0x11;
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R:
      return 0x12;
    case GDK_KEY_Pause:
      return 0x13;
    case GDK_KEY_Caps_Lock:
      return 0x14;
    case GDK_KEY_Escape:
      return 0x1B;
    case GDK_KEY_space:
      return 0x20;
    case GDK_KEY_Page_Up:
      return 0x21;
    case GDK_KEY_Page_Down:
      return 0x22;
    case GDK_KEY_End:
      return 0x23;
    case GDK_KEY_Home:
      return 0x24;
    case GDK_KEY_Left:
      return 0x25;
    case GDK_KEY_Up:
      return 0x26;
    case GDK_KEY_Right:
      return 0x27;
    case GDK_KEY_Down:
      return 0x28;
    case GDK_KEY_Insert:
      return 0x2D;
    case GDK_KEY_Delete:
      return 0x2E;
    case GDK_KEY_KP_Multiply:
      return 0x6A;
    case GDK_KEY_KP_Add:
      return 0x6B;
    case GDK_KEY_KP_Subtract:
      return 0x6D;
    case GDK_KEY_KP_Decimal:
      return 0x6E;
    case GDK_KEY_KP_Divide:
      return 0x6F;
    default:
      return 0;
  }
}

}  // namespace kesto::gtk
