// What the HTTP routine takes from a response's raw header block.
#pragma once

#include "runtime/core.h"

namespace kesto::net {

struct ResponseHeaderValues {
  // The value of the last line holding "Location:"; the caller's previous value when none.
  Text redirectLocation;
  // The "name=value" item of each line holding "Set-Cookie", joined by "; ".
  Text cookies;
};

ResponseHeaderValues ReadResponseHeaders(const Text& block, const Text& previousLocation);

}  // namespace kesto::net
