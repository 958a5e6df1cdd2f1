// The list in icon view: each row a picture from the list's image list with its caption below,
// one row selected at a time, a row activated by a double-click (or Enter).
#include <map>

#include "runtime/gtk/controls.h"
#include "runtime/gtk/drawing.h"
#include "runtime/image/image_list.h"
#include "runtime/posix/native_text.h"
#include "runtime/toolkit_front/list_view_properties.h"

namespace kesto::gtk {

namespace {

enum Column { kPicture, kCaption, kItemValue, kIconIndex, kColumns };

class ListView : public front::ListViewProperties<Control> {
 public:
  ListView(LoadedWindow& window, const ui::ControlLayout& layout)
      : ListViewProperties(window, layout) {
    rows_ = gtk_list_store_new(kColumns, GDK_TYPE_PIXBUF, G_TYPE_STRING, G_TYPE_INT, G_TYPE_INT);
    view_ = gtk_icon_view_new_with_model(GTK_TREE_MODEL(rows_));
    g_object_unref(rows_);  // the view holds it now
    GtkIconView* icons = GTK_ICON_VIEW(view_);
    gtk_icon_view_set_pixbuf_column(icons, kPicture);
    gtk_icon_view_set_text_column(icons, kCaption);
    gtk_icon_view_set_item_orientation(icons, GTK_ORIENTATION_VERTICAL);
    gtk_icon_view_set_selection_mode(icons, GTK_SELECTION_SINGLE);
    gtk_icon_view_set_activate_on_single_click(icons, FALSE);
    if (layout.imageWidth > 0) gtk_icon_view_set_item_width(icons, layout.imageWidth);
    gtk_icon_view_set_margin(icons, 8);
    gtk_icon_view_set_item_padding(icons, 4);
    gtk_icon_view_set_row_spacing(icons, 8);
    gtk_icon_view_set_column_spacing(icons, 8);
    std::string css = "iconview { " + CssFont(layout.font);
    if (layout.backColour != ui::kDefaultColour) {
      css += " background-color: " + CssColour(layout.backColour) + ";";
    }
    if (layout.textColour != ui::kDefaultColour) {
      css += " color: " + CssColour(layout.textColour) + ";";
    }
    AddCss(view_, css + " }");
    g_signal_connect(view_, "item-activated", G_CALLBACK(OnActivated), this);

    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_NEVER,
                                   GTK_POLICY_AUTOMATIC);
    gtk_container_add(GTK_CONTAINER(scroller), view_);
    gtk_widget_show(view_);
    Adopt(scroller);
  }

  GtkWidget* FocusTarget() override { return view_; }

  int Count() const override {
    return gtk_tree_model_iter_n_children(GTK_TREE_MODEL(rows_), nullptr);
  }

  void DeleteAll() override { gtk_list_store_clear(rows_); }

  int InsertAt(int position, const Text& caption, int iconIndex, std::optional<int>,
               std::optional<int>, int itemValue) override {
    if (iconIndex < -1) iconIndex = -1;
    GtkTreeIter row;
    gtk_list_store_insert_with_values(rows_, &row, position, kPicture, PictureAt(iconIndex),
                                      kCaption, posix::GbkToUtf8(caption).c_str(), kItemValue,
                                      itemValue, kIconIndex, iconIndex, -1);
    return position;
  }

 private:
  // Pictures are decoded when a row first shows them.
  GdkPixbuf* PictureAt(int iconIndex) {
    if (iconIndex < 0) return nullptr;
    auto it = pictures_.find(iconIndex);
    if (it == pictures_.end()) {
      std::optional<image::RgbaImage> picture = image::ImageListImage(ImageList(), iconIndex);
      it = pictures_.emplace(iconIndex, Pixbuf(picture ? PixbufOf(*picture) : nullptr)).first;
    }
    return it->second.get();
  }

  void ShowImageList(const Bytes&) override {
    pictures_.clear();
    GtkTreeIter row;
    for (bool more = gtk_tree_model_get_iter_first(GTK_TREE_MODEL(rows_), &row); more;
         more = gtk_tree_model_iter_next(GTK_TREE_MODEL(rows_), &row)) {
      int iconIndex = -1;
      gtk_tree_model_get(GTK_TREE_MODEL(rows_), &row, kIconIndex, &iconIndex, -1);
      gtk_list_store_set(rows_, &row, kPicture, PictureAt(iconIndex), -1);
    }
  }

  int SelectedRow() const override {
    GList* selected = gtk_icon_view_get_selected_items(GTK_ICON_VIEW(view_));
    int row = -1;
    if (selected) row = gtk_tree_path_get_indices(static_cast<GtkTreePath*>(selected->data))[0];
    g_list_free_full(selected, reinterpret_cast<GDestroyNotify>(gtk_tree_path_free));
    return row;
  }

  void ClearSelection() override { gtk_icon_view_unselect_all(GTK_ICON_VIEW(view_)); }

  void MarkSelected(int row) override {
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    gtk_icon_view_select_path(GTK_ICON_VIEW(view_), path);
    gtk_tree_path_free(path);
  }

  static void OnActivated(GtkIconView* view, GtkTreePath* path, ListView* self) {
    auto keep = self->Hold();
    gtk_icon_view_select_path(view, path);
    self->Fire(ui::Event::kItemActivated);
  }

  GtkListStore* rows_ = nullptr;
  GtkWidget* view_ = nullptr;
  std::map<int, Pixbuf> pictures_;
};

}  // namespace

}  // namespace kesto::gtk

namespace kesto::front {

std::unique_ptr<Control> MakeListView(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<gtk::ListView>(static_cast<gtk::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
