// The fallback when the shell cannot open an address: the registered browser command with the
// address in place of "%1".
#include <gtest/gtest.h>

#include "runtime/win32/toolkit/open_address.h"

namespace kesto::testing {
namespace {

TEST(BrowserCommand, AddressReplacesTheFirstQuotedOrBarePercentOne) {
  EXPECT_EQ(win32::BrowserCommandLine("\"C:\\b\\ie.exe\" -nohome \"%1\" -x", "http://a/"),
            "\"C:\\b\\ie.exe\" -nohome  http://a/");
  EXPECT_EQ(win32::BrowserCommandLine("C:\\b\\ie.exe %1", "http://a/"), "C:\\b\\ie.exe  http://a/");
  EXPECT_EQ(win32::BrowserCommandLine("C:\\b\\ie.exe", "http://a/"), "C:\\b\\ie.exe http://a/");
}

}  // namespace
}  // namespace kesto::testing
