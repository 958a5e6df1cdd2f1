// 利润计算器: what an item earns after the platform's commission and the postage.
#include <cstdio>

#include "tools/demo-tools/tool_window.h"

namespace {

struct ProfitForm {
  GtkSpinButton* cost;
  GtkSpinButton* price;
  GtkSpinButton* commission;  // percent of the price
  GtkSpinButton* postage;
  GtkLabel* result;
};

void UpdateResult(GtkSpinButton*, gpointer data) {
  const auto* form = static_cast<ProfitForm*>(data);
  double price = gtk_spin_button_get_value(form->price);
  double profit = price - gtk_spin_button_get_value(form->cost) -
                  price * gtk_spin_button_get_value(form->commission) / 100.0 -
                  gtk_spin_button_get_value(form->postage);
  char text[160];
  if (price > 0) {
    std::snprintf(text, sizeof text, "每件利润 %.2f 元    利润率 %.1f%%", profit,
                  profit / price * 100.0);
  } else {
    std::snprintf(text, sizeof text, "每件利润 %.2f 元", profit);
  }
  gtk_label_set_text(form->result, text);
}

GtkSpinButton* AddRow(GtkGrid* grid, int row, const char* caption, double value, double step) {
  GtkWidget* label = gtk_label_new(caption);
  gtk_widget_set_halign(label, GTK_ALIGN_END);
  GtkWidget* spin = gtk_spin_button_new_with_range(0, 1000000, step);
  gtk_spin_button_set_digits(GTK_SPIN_BUTTON(spin), 2);
  gtk_spin_button_set_value(GTK_SPIN_BUTTON(spin), value);
  gtk_grid_attach(grid, label, 0, row, 1, 1);
  gtk_grid_attach(grid, spin, 1, row, 1, 1);
  return GTK_SPIN_BUTTON(spin);
}

GtkWidget* BuildForm(GtkWindow*) {
  static ProfitForm form;
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 10);
  gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
  gtk_container_set_border_width(GTK_CONTAINER(grid), 18);
  form.cost = AddRow(GTK_GRID(grid), 0, "进价（元）", 35, 1);
  form.price = AddRow(GTK_GRID(grid), 1, "售价（元）", 59, 1);
  form.commission = AddRow(GTK_GRID(grid), 2, "平台扣点（%）", 5, 0.5);
  form.postage = AddRow(GTK_GRID(grid), 3, "运费（元）", 6, 0.5);
  GtkWidget* result = gtk_label_new("");
  gtk_widget_set_margin_top(result, 8);
  gtk_grid_attach(GTK_GRID(grid), result, 0, 4, 2, 1);
  form.result = GTK_LABEL(result);
  for (GtkSpinButton* spin : {form.cost, form.price, form.commission, form.postage}) {
    g_signal_connect(spin, "value-changed", G_CALLBACK(UpdateResult), &form);
  }
  UpdateResult(nullptr, &form);
  return grid;
}

}  // namespace

int main(int argc, char** argv) {
  kesto::demo::ToolWindow tool{"利润计算器", 360, 260, BuildForm, {}};
  kesto::demo::RunToolWindow(argc, argv, tool);
}
