#include "net/internet_session.h"

#include <mutex>

#include "net/http_request.h"

namespace kesto::net {

inet::Handle InternetSession() {
  static std::mutex opening;
  static inet::Handle session = 0;
  std::lock_guard lock(opening);
  if (!session) {
    session = inet::InternetOpen(kDefaultUserAgent, inet::kOpenTypePreconfig, std::nullopt,
                                 std::nullopt, 0);
  }
  return session;
}

}  // namespace kesto::net
