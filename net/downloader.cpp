#include "net/downloader.h"

#include <algorithm>
#include <new>

#include "net/internet_session.h"
#include "runtime/inet.h"

namespace kesto::net {

namespace {

// No Accept-Encoding: nothing here decodes a compressed body, and a server that compressed one
// would have its compressed bytes saved as the program.
constexpr const char* kDownloadHeaders =
    "Accept: */*\r\nAccept-Language: zh-cn\r\nUser-Agent: "
    "Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)";
constexpr std::uint32_t kOpenFlags =
    inet::kFlagReload | inet::kFlagNoCacheWrite | inet::kFlagPragmaNoCache;
constexpr std::uint32_t kReadChunk = 1024;
// Room is made up front for an announced body, so that the bytes are stored once and never
// moved; pages the body never fills are never touched. Beyond this size, or when the room
// cannot be had, the body grows as it arrives.
constexpr std::uint32_t kMaxReserve = 1u << 30;

int Announced(inet::Handle file) {
  std::uint32_t total = 0;
  std::uint32_t length = sizeof total;
  std::uint32_t index = 0;
  if (!inet::HttpQueryInfo(file, inet::kQueryContentLength | inet::kQueryFlagNumber, &total, length,
                           &index)) {
    return 0;
  }
  return static_cast<int>(total);
}

// Milliseconds between two tick counts, across the counter's wrap; never 0.
int Elapsed(int start) {
  auto ticks =
      static_cast<int>(static_cast<std::uint32_t>(TickCount()) - static_cast<std::uint32_t>(start));
  return ticks == 0 ? 10 : ticks;
}

}  // namespace

Bytes Download(const Text& url, std::optional<ProgressCallback> progress,
               std::optional<int> rangeStart, int* status, std::size_t maxBytes) {
  if (status) *status = 0;
  // The program's one session on the system's settings: a proxy that only an auto-configuration
  // script names is followed here as by every other request.
  const inet::Handle session = InternetSession();
  if (!session) {
    ShowMessage("连接错误!", kMbOk);
    return {};
  }
  Text headers = kDownloadHeaders;
  if (rangeStart) headers += "\r\nRange:bytes=" + ToText(*rangeStart) + "-";
  inet::Handle file = inet::InternetOpenUrl(session, url, headers, kOpenFlags);
  if (!file) {
    ShowMessage("不能打开该URL!", kMbOk);
    return {};
  }

  if (status) *status = inet::StatusCodeOf(file);
  const int total = Announced(file);
  const int start = TickCount();
  const long long offset = rangeStart.value_or(0);
  long long received = 0;
  Bytes body;
  try {
    body.reserve(std::min(static_cast<std::uint32_t>(total), kMaxReserve));
  } catch (const std::bad_alloc&) {
  }
  std::uint32_t read = 0;
  bool ok;
  // A chunk lands in this small buffer, which stays in the processor's cache, and is then
  // appended: growing the body first would clear every byte of it only to overwrite it.
  std::uint8_t chunk[kReadChunk];
  while (true) {
    ok = inet::InternetReadFile(file, chunk, kReadChunk, read);
    if (!ok || read == 0) break;
    body.insert(body.end(), chunk, chunk + read);
    if (maxBytes != 0 && body.size() > maxBytes) {
      ok = false;
      break;
    }
    received += read;
    if (progress && *progress) {
      // The counts travel as 32-bit numbers: their low 32 bits.
      (*progress)(total, static_cast<int>(received), Elapsed(start),
                  static_cast<int>(received - offset));
    }
  }
  inet::InternetCloseHandle(file);  // takes the address's connection along
  if (!ok) return {};
  return body;
}

}  // namespace kesto::net
