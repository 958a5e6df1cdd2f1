#include "updater/problem_report.h"

#include <cstdio>

#include "runtime/tool_services.h"

namespace kesto::updater {

void LogLine(const Text& message) {
  std::fprintf(stderr, "up.qmz: %s\n", TextToUtf8(message).c_str());
  std::fflush(stderr);
}

void ReportProblem(const Text& message) {
  LogLine(message);
  ShowMessage(message, kMbIconStop, "Kesto更新程序");
}

}  // namespace kesto::updater
