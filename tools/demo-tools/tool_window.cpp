#include "tools/demo-tools/tool_window.h"

#include "apps/app_config.h"
#include "runtime/core.h"

namespace kesto::demo {

std::string ToolKeyFromFileName(const std::string& fileName) {
  return fileName.substr(0, fileName.find('.'));
}

void RunToolWindow(int argc, char** argv, const form::FormWindow& window) {
  // Also starts the toolkit, and ends the process when there is no display to show on.
  RuntimeStart(argc, argv);
  // The handle fits the record's 32 bits: X11 ids are 29-bit numbers, window handles 32-bit.
  form::RunFormWindow(window, [](std::intptr_t handle) {
    AppConfig().SetWindowHandle(ToolKeyFromFileName(ProgramFileName()), static_cast<int>(handle));
  });
  // Ends as the platform does, without tearing the toolkit down under its own threads.
  EndProgram(0);
}

}  // namespace kesto::demo
