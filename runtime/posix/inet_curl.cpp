// libcurl's one-time set-up and the process-wide cookie store that requests share unless
// they ask to keep out of it.
#include <array>
#include <mutex>

#include "runtime/posix/inet_backend.h"

namespace kesto::inet::backend {

namespace {

std::array<std::mutex, CURL_LOCK_DATA_LAST> shareLocks;

void LockShare(CURL*, curl_lock_data data, curl_lock_access, void*) {
  shareLocks[data].lock();
}
void UnlockShare(CURL*, curl_lock_data data, void*) {
  shareLocks[data].unlock();
}

struct CookieStore {
  CURLSH* share;
  CookieStore() {
    EnsureCurl();
    share = curl_share_init();
    curl_share_setopt(share, CURLSHOPT_LOCKFUNC, LockShare);
    curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, UnlockShare);
    curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }
  ~CookieStore() { curl_share_cleanup(share); }
};

}  // namespace

void EnsureCurl() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CURLSH* SharedCookieStore() {
  static CookieStore store;
  return store.share;
}

}  // namespace kesto::inet::backend
