// What a running process runs, asked of the system: the file of its image. A Windows program is
// always its own image, so there is no script to name beside it.
#include <windows.h>

#include "runtime/core.h"
#include "runtime/win32/owned_handle.h"
#include "runtime/win32/wide_text.h"

namespace kesto {

std::uint32_t CurrentProcessId() {
  return static_cast<std::uint32_t>(GetCurrentProcessId());
}

Array<Text> ProcessProgramFiles(std::uint32_t processId) {
  Array<Text> files;
  if (processId == 0) return files;
  auto process = win32::Own(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return files;
  std::wstring image(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = static_cast<DWORD>(image.size());
    if (QueryFullProcessImageNameW(process.get(), 0, image.data(), &length)) {
      image.resize(length);
      files.Append(win32::FromWide(image));
      return files;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || image.size() > 32768) return files;
    image.resize(image.size() * 2);
  }
}

}  // namespace kesto
