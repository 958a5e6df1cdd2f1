// Opening a web address in the user's default web browser.
#pragma once

#include "runtime/core.h"

namespace kesto::win32 {

// The shell's "open" of the address; where the shell fails, the command registered for ".htm"
// files with the address in place of its "%1". An address without a scheme is taken as an http
// address; only web pages and mail are opened (front::DesktopAddress). False when the address
// is refused or neither started.
bool OpenInDefaultBrowser(const Text& address);

// The registered open command cut before its first quoted "%1" (before the opening quote), or
// else before its first bare "%1", followed by a space and the address.
Text BrowserCommandLine(const Text& openCommand, const Text& address);

}  // namespace kesto::win32
