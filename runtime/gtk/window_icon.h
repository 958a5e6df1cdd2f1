// Window and tray icons from the bytes of an icon file.
#pragma once

#include <gtk/gtk.h>

#include "runtime/core.h"

namespace kesto::gtk {

// Every image of the icon file as a pixbuf (caller frees the list with g_list_free_full and
// g_object_unref); empty when the bytes hold no icon.
GList* IconPixbufs(const Bytes& icon);

// The icon's image nearest the size, or the picture itself when it is another format; a
// transparent square when nothing decodes. The caller unrefs it.
GdkPixbuf* IconPixbuf(const Bytes& icon, int size);

}  // namespace kesto::gtk
