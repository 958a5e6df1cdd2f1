// Opening a web address in the user's default web browser.
#pragma once

#include "runtime/core.h"

namespace kesto::gtk {

// An address without a scheme is taken as an http address; only web pages and mail are opened
// (front::DesktopAddress). False when the address is refused or nothing could open it.
bool OpenInDefaultBrowser(const Text& address);

}  // namespace kesto::gtk
