// The tools' plain window on GTK: a grid of captions and spin buttons, labels and a text view.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include "runtime/posix/native_text.h"
#include "tools/demo-tools/forms/form_window.h"

namespace kesto::form {

namespace {

constexpr int kSpacing = 10;
constexpr int kBorder = 18;

const FormWindow* shownForm = nullptr;
std::vector<GtkWidget*> widgets;  // one per field, in the form's order

void OnNumberChanged(GtkSpinButton*, gpointer) {
  if (shownForm->onChange) shownForm->onChange();
}

gboolean OnTick(gpointer) {
  if (shownForm->onTick) shownForm->onTick();
  return G_SOURCE_CONTINUE;
}

gboolean OnCloseRequest(GtkWidget*, GdkEvent*, gpointer) {
  if (shownForm->onClose) shownForm->onClose();
  return FALSE;  // let the window go
}

void SetLabel(GtkWidget* label, FieldKind kind, const Text& text) {
  const std::string utf8 = posix::GbkToUtf8(text);
  if (kind != FieldKind::kBigLine) {
    gtk_label_set_text(GTK_LABEL(label), utf8.c_str());
    return;
  }
  gchar* markup =
      g_markup_printf_escaped("<span size='xx-large' weight='bold'>%s</span>", utf8.c_str());
  gtk_label_set_markup(GTK_LABEL(label), markup);
  g_free(markup);
}

GtkWidget* MakeField(const Field& field, GtkGrid* grid, int row) {
  if (field.kind == FieldKind::kNumber) {
    GtkWidget* caption = gtk_label_new(posix::GbkToUtf8(field.caption).c_str());
    gtk_widget_set_halign(caption, GTK_ALIGN_END);
    GtkWidget* spin = gtk_spin_button_new_with_range(0, 1000000, field.step);
    gtk_spin_button_set_digits(GTK_SPIN_BUTTON(spin), 2);
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(spin), field.value);
    g_signal_connect(spin, "value-changed", G_CALLBACK(OnNumberChanged), nullptr);
    gtk_grid_attach(grid, caption, 0, row, 1, 1);
    gtk_grid_attach(grid, spin, 1, row, 1, 1);
    return spin;
  }
  if (field.kind == FieldKind::kTextArea) {
    GtkWidget* view = gtk_text_view_new();
    gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
    gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)),
                             posix::GbkToUtf8(field.text).c_str(), -1);
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_widget_set_hexpand(scroller, TRUE);
    gtk_widget_set_vexpand(scroller, TRUE);
    gtk_container_add(GTK_CONTAINER(scroller), view);
    gtk_grid_attach(grid, scroller, 0, row, 2, 1);
    return view;
  }
  GtkWidget* label = gtk_label_new("");
  gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
  gtk_widget_set_hexpand(label, TRUE);
  SetLabel(label, field.kind, field.text);
  gtk_grid_attach(grid, label, 0, row, 2, 1);
  return label;
}

}  // namespace

double NumberValue(int field) {
  return gtk_spin_button_get_value(GTK_SPIN_BUTTON(widgets.at(field)));
}

Text FieldText(int field) {
  GtkWidget* widget = widgets.at(field);
  if (!GTK_IS_TEXT_VIEW(widget)) return posix::Utf8ToGbk(gtk_label_get_text(GTK_LABEL(widget)));
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(widget));
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  gchar* utf8 = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
  Text text = posix::Utf8ToGbk(utf8);
  g_free(utf8);
  return text;
}

void SetFieldText(int field, const Text& text) {
  GtkWidget* widget = widgets.at(field);
  if (GTK_IS_TEXT_VIEW(widget)) {
    gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(widget)),
                             posix::GbkToUtf8(text).c_str(), -1);
  } else {
    SetLabel(widget, shownForm->fields.at(field).kind, text);
  }
}

void RunFormWindow(const FormWindow& form, const std::function<void(std::intptr_t)>& shown) {
  shownForm = &form;
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), posix::GbkToUtf8(form.title).c_str());
  gtk_window_set_default_size(GTK_WINDOW(window), form.width, form.height);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), kSpacing);
  gtk_grid_set_column_spacing(GTK_GRID(grid), kSpacing);
  gtk_container_set_border_width(GTK_CONTAINER(grid), kBorder);
  gtk_container_add(GTK_CONTAINER(window), grid);
  for (std::size_t i = 0; i < form.fields.size(); ++i) {
    widgets.push_back(MakeField(form.fields[i], GTK_GRID(grid), static_cast<int>(i)));
  }
  g_signal_connect(window, "delete-event", G_CALLBACK(OnCloseRequest), nullptr);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  // The ticker stops with the loop; nothing it writes to outlives the window before that.
  const guint ticker =
      form.tickMilliseconds > 0 ? g_timeout_add(form.tickMilliseconds, OnTick, nullptr) : 0;
  gtk_widget_show_all(window);
  // The window exists on the X server once shown; X11 ids are 29-bit numbers.
  shown(static_cast<std::intptr_t>(gdk_x11_window_get_xid(gtk_widget_get_window(window))));
  if (form.onShown) form.onShown();
  gtk_main();
  if (ticker) g_source_remove(ticker);
  widgets.clear();
  shownForm = nullptr;
}

}  // namespace kesto::form
