// The response header block: the status code, header values, the redirect location and the
// cookies come out of any block as whole lines' parts, never beyond the block's own bytes.
#include "net/response_headers.h"

#include "fuzz/fuzz_check.h"
#include "runtime/posix/inet_backend.h"

namespace {

using kesto::Text;
namespace backend = kesto::inet::backend;

int CountOf(const Text& text, const Text& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != Text::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kesto::fuzz::InputReader input(data, size);
  const Text previousLocation = input.Piece();
  const Text block = input.Rest();

  if (std::optional<std::uint32_t> code = backend::StatusCode(block)) {
    FUZZ_CHECK(block.find(' ') < block.find("\r\n"));
  }
  // Every value is one trimmed line's part, and there are no more than there are lines.
  for (const Text& name : {Text("Content-Length"), Text("Location"), Text("Set-Cookie")}) {
    unsigned n = 0;
    for (; std::optional<Text> value = backend::HeaderValue(block, name, n); ++n) {
      FUZZ_CHECK(value->find("\r\n") == Text::npos && block.find(*value) != Text::npos);
      FUZZ_CHECK(value->empty() || (value->front() != ' ' && value->back() != ' '));
    }
    FUZZ_CHECK(n <= static_cast<unsigned>(CountOf(block, "\r\n")));
  }
  for (const Text& number : {block.substr(0, 12), previousLocation}) {
    if (std::optional<std::uint32_t> parsed = backend::ParseNumber(number)) {
      FUZZ_CHECK(number.find_first_not_of("0123456789") == Text::npos);
      FUZZ_CHECK(*parsed == std::stoull(number));
    }
  }

  kesto::net::ResponseHeaderValues values =
      kesto::net::ReadResponseHeaders(block, previousLocation);
  if (kesto::FindText(block, "Location:") == -1) {
    FUZZ_CHECK(values.redirectLocation == previousLocation);
  } else {
    FUZZ_CHECK(kesto::FindText(values.redirectLocation, "\r\n") == -1);
  }
  FUZZ_CHECK(kesto::FindText(values.cookies, "\r\n") == -1);
  if (kesto::FindText(block, "Set-Cookie") == -1) FUZZ_CHECK(values.cookies.empty());
  return 0;
}
