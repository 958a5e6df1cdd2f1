// Opening a web address in the user's default web browser.
#pragma once

#include <string>

#include "runtime/core.h"

namespace kesto::gtk {

// An address without a scheme is taken as an http address. False when nothing could open it.
bool OpenInDefaultBrowser(const Text& address);

// The address as a browser wants it: "http://" in front when it names no scheme.
std::string BrowserAddress(const std::string& utf8_address);

}  // namespace kesto::gtk
