// The page container: one area per page, only the current one shown; the tab strip hidden
// where the layout hides it, so that only the program switches pages.
#include <vector>

#include "runtime/gtk/controls.h"
#include "runtime/gtk/drawing.h"
#include "runtime/gtk/placement_area.h"
#include "runtime/toolkit_front/tab_pages.h"

namespace kesto::gtk {

namespace {

class Tab : public front::TabPages<Control> {
 public:
  Tab(LoadedWindow& window, const ui::ControlLayout& layout) : TabPages(window, layout) {
    GtkWidget* notebook = gtk_notebook_new();
    gtk_notebook_set_show_tabs(GTK_NOTEBOOK(notebook), layout.showTabs);
    gtk_notebook_set_show_border(GTK_NOTEBOOK(notebook), FALSE);
    AddCss(notebook, "notebook, notebook > stack { border: none; padding: 0; margin: 0; }");
    for (int i = 0; i < std::max(layout.pageCount, 1); ++i) {
      // Each page clips what reaches beyond the container's edge.
      GtkWidget* page = NewBackgroundArea(layout.backColour);
      gtk_widget_show(page);
      gtk_notebook_append_page(GTK_NOTEBOOK(notebook), page, nullptr);
      pages_.push_back(page);
    }
    Adopt(notebook);
    SetPage(layout.currentPage);
  }

  GtkWidget* ChildArea(int page) override {
    return page >= 0 && page < int(pages_.size()) ? pages_[page] : pages_.front();
  }

 private:
  int CurrentPage() const override { return gtk_notebook_get_current_page(GTK_NOTEBOOK(widget())); }

  int PageCount() const override { return int(pages_.size()); }

  void ShowPage(int page) override { gtk_notebook_set_current_page(GTK_NOTEBOOK(widget()), page); }

  std::vector<GtkWidget*> pages_;
};

}  // namespace

}  // namespace kesto::gtk

namespace kesto::front {

std::unique_ptr<Control> MakeTab(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<gtk::Tab>(static_cast<gtk::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
