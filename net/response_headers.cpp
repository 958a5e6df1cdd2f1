#include "net/response_headers.h"

#include "net/url_helpers.h"

namespace kesto::net {

ResponseHeaderValues ReadResponseHeaders(const Text& block, const Text& previousLocation) {
  ResponseHeaderValues values{previousLocation, {}};
  for (const Text& line : SplitText(block, "\r\n")) {
    if (FindText(line, "Location:") != -1) values.redirectLocation = ValueAfterColon(line);
    if (FindText(line, "Set-Cookie") != -1) {
      values.cookies += TrimBoth(TextBetween(line, "Set-Cookie:", ";")) + "; ";
    }
  }
  values.cookies = LeftText(values.cookies, TextLength(values.cookies) - 2);
  return values;
}

}  // namespace kesto::net
