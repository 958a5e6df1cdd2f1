// The browser control hosted in place in a window of ours.
#include "runtime/win32/toolkit/browser_host.h"

namespace kesto::win32 {

std::unique_ptr<BrowserHost> BrowserHost::Create(HWND, const RECT&, ElementEventSink) {
  return nullptr;
}

void UseNewestDocumentMode() {}

}  // namespace kesto::win32
