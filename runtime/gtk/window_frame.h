// A framed window with a caption and a close box only: no maximise or minimise box, not
// resizable, as the fixed single border and the message boxes have it.
#pragma once

#include <gtk/gtk.h>

namespace kesto::gtk {

void UseCloseBoxOnly(GtkWindow* window);

}  // namespace kesto::gtk
