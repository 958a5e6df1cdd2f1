// 利润计算器: what an item earns after the platform's commission and the postage.
#include <cstdio>

#include "tools/demo-tools/tool_window.h"

namespace {

enum Field { kCost, kPrice, kCommission, kPostage, kResult };

void UpdateResult() {
  using kesto::form::NumberValue;
  const double price = NumberValue(kPrice);
  const double profit =
      price - NumberValue(kCost) - price * NumberValue(kCommission) / 100.0 - NumberValue(kPostage);
  char text[160];
  if (price > 0) {
    std::snprintf(text, sizeof text, "每件利润 %.2f 元    利润率 %.1f%%", profit,
                  profit / price * 100.0);
  } else {
    std::snprintf(text, sizeof text, "每件利润 %.2f 元", profit);
  }
  kesto::form::SetFieldText(kResult, text);
}

}  // namespace

int main(int argc, char** argv) {
  using kesto::form::Field;
  kesto::form::FormWindow window;
  window.title = "利润计算器";
  window.width = 360;
  window.height = 260;
  window.fields = {Field::Number("进价（元）", 35, 1), Field::Number("售价（元）", 59, 1),
                   Field::Number("平台扣点（%）", 5, 0.5), Field::Number("运费（元）", 6, 0.5),
                   Field::Line()};
  window.onShown = UpdateResult;
  window.onChange = UpdateResult;
  kesto::demo::RunToolWindow(argc, argv, window);
}
