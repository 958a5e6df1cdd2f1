// 上新时钟: the time, and what is left of the day for today's listings.
#include <cstdio>
#include <ctime>

#include "tools/demo-tools/tool_window.h"

namespace {

enum Field { kDate, kTime, kLeft };

void ShowTime() {
  const std::time_t now = std::time(nullptr);
  const std::tm local = *std::localtime(&now);
  const int left = 24 * 3600 - (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  kesto::form::SetFieldText(kDate, text);
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  kesto::form::SetFieldText(kTime, text);
  std::snprintf(text, sizeof text, "今日上新剩余 %02d:%02d:%02d", left / 3600, left / 60 % 60,
                left % 60);
  kesto::form::SetFieldText(kLeft, text);
}

}  // namespace

int main(int argc, char** argv) {
  using kesto::form::Field;
  kesto::form::FormWindow window;
  window.title = "上新时钟";
  window.width = 300;
  window.height = 180;
  window.fields = {Field::Line(), Field::Line(kesto::form::FieldKind::kBigLine), Field::Line()};
  window.onShown = ShowTime;
  window.tickMilliseconds = 1000;
  window.onTick = ShowTime;
  kesto::demo::RunToolWindow(argc, argv, window);
}
