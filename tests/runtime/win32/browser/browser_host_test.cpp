// The browser control hosted in a real window.
#include "runtime/win32/toolkit/browser_host.h"

#include <gtest/gtest.h>

namespace kesto::win32 {
namespace {

TEST(BrowserHost, DocumentModeSettingDoesNotFail) {
  UseNewestDocumentMode();
}

}  // namespace
}  // namespace kesto::win32
