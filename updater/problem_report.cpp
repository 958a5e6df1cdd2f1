#include "updater/problem_report.h"

#include "runtime/tool_services.h"
#include "update/update_log.h"

namespace kesto::updater {

void ReportProblem(const Text& message) {
  update::LogLine(message);
  ShowMessage(message, kMbIconStop, "Kesto更新程序");
}

}  // namespace kesto::updater
