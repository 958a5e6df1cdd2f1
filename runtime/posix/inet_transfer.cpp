// One exchange driven through a curl multi handle, so that the caller's small reads pull
// the body from the network in large blocks while the buffer in between stays bounded.
#include <cstring>

#include "runtime/posix/inet_backend.h"

namespace kesto::inet::backend {

namespace {

// The body buffer asks the network to wait once it holds this much unread data.
constexpr std::size_t kBufferLimit = 1 << 20;
// Size of one receive from the network.
constexpr long kReceiveBlock = 256 * 1024;
// A response whose header block grows past this is refused: no server needs it, and an
// endless one would otherwise fill the memory.
constexpr std::size_t kHeaderBlockLimit = 256 * 1024;
// The longest wait on the network between two looks at the handle and the rate: a closed
// handle ends a call well within a second.
constexpr long kLookMilliseconds = 200;

}  // namespace

Transfer::Transfer(const std::atomic<bool>& closed) : closed_(closed) {
  EnsureCurl();
  easy_ = curl_easy_init();
  multi_ = curl_multi_init();
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy_, CURLOPT_BUFFERSIZE, kReceiveBlock);
  curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
  curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy_, CURLOPT_XFERINFOFUNCTION, &Transfer::OnProgress);
  curl_easy_setopt(easy_, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(easy_, CURLOPT_NOPROGRESS, 0L);
  buffer_.reserve(kBufferLimit + kReceiveBlock);
}

Transfer::~Transfer() {
  if (started_) curl_multi_remove_handle(multi_, easy_);
  curl_easy_cleanup(easy_);
  curl_multi_cleanup(multi_);
  curl_slist_free_all(headers_);
}

void Transfer::SetHeaders(curl_slist* headers) {
  curl_slist_free_all(headers_);
  headers_ = headers;
  curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
}

void Transfer::SetBody(const Bytes& body) {
  body_ = body;
  // Never a null pointer: curl would then read the body from standard input.
  static const char empty = 0;
  const void* data = body_.empty() ? static_cast<const void*>(&empty) : body_.data();
  curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, data);
  curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body_.size()));
}

bool Transfer::Start() {
  started_ = true;
  RestartRateWindow();
  curl_multi_add_handle(multi_, easy_);
  PumpForBody();
  return bodyStarted_ || result_ == CURLE_OK;
}

bool Transfer::Read(void* buffer, std::size_t size, std::size_t& read) {
  // Like a synchronous WinInet read, the buffer is filled unless the body ends first.
  read = 0;
  auto* out = static_cast<char*>(buffer);
  while (read < size) {
    if (Unread() == 0) PumpForBody();
    if (Unread() == 0) break;
    std::size_t step = std::min(size - read, Unread());
    std::memcpy(out + read, buffer_.data() + head_, step);
    head_ += step;
    read += step;
  }
  // A failure shows on the read after the last bytes that arrived.
  return read > 0 || (done_ && result_ == CURLE_OK);
}

void Transfer::PumpForBody() {
  if (paused_) {
    paused_ = false;
    // The time the reader kept the buffer full is not the server's.
    RestartRateWindow();
    curl_easy_pause(easy_, CURLPAUSE_CONT);  // may hand over the held-back block at once
  }
  while (Unread() == 0 && !done_) {
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) {
      done_ = true;
      result_ = CURLE_FAILED_INIT;
      break;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
      if (message->msg == CURLMSG_DONE) {
        done_ = true;
        result_ = message->data.result;
        // A server that closes the connection inside the header block sent no response.
        if (result_ == CURLE_OK && !headerBlockEnded_) result_ = CURLE_RECV_ERROR;
      }
    }
    if (Unread() > 0 || done_) break;
    if (closed_ || BelowLeastRate()) {
      done_ = true;
      result_ = closed_ ? CURLE_ABORTED_BY_CALLBACK : CURLE_OPERATION_TIMEDOUT;
      break;
    }
    curl_multi_poll(multi_, nullptr, 0, kLookMilliseconds, nullptr);
  }
}

void Transfer::Count(std::uint64_t bytes) {
  windowBytes_ += bytes;
  if (windowBytes_ >= std::uint64_t{kLeastBytesPerSecond} * StallSeconds()) RestartRateWindow();
}

void Transfer::RestartRateWindow() {
  windowStart_ = TickCount();
  windowBytes_ = 0;
}

bool Transfer::BelowLeastRate() const {
  const std::uint32_t waited =
      static_cast<std::uint32_t>(TickCount()) - static_cast<std::uint32_t>(windowStart_);
  return waited >= static_cast<std::uint32_t>(StallSeconds()) * 1000u;
}

int Transfer::OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
  auto* transfer = static_cast<Transfer*>(self);
  if (uploaded > transfer->uploaded_) {
    transfer->Count(static_cast<std::uint64_t>(uploaded - transfer->uploaded_));
    transfer->uploaded_ = uploaded;
  }
  return 0;
}

std::size_t Transfer::OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
  auto* transfer = static_cast<Transfer*>(self);
  std::size_t length = size * count;
  // Lines after the body has begun are trailers, not part of the header block.
  if (transfer->bodyStarted_) return length;
  transfer->Count(length);
  std::string line(data, length);
  // Every response of a redirect chain (and every interim 1xx) starts a new block.
  if (line.rfind("HTTP/", 0) == 0) transfer->headerBlock_.clear();
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  transfer->headerBlockEnded_ = line.empty();
  transfer->headerBlock_ += line;
  transfer->headerBlock_ += "\r\n";
  if (transfer->headerBlock_.size() > kHeaderBlockLimit) return 0;
  return length;
}

std::size_t Transfer::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  auto* transfer = static_cast<Transfer*>(self);
  std::size_t length = size * count;
  if (transfer->Unread() >= kBufferLimit) {
    transfer->paused_ = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  if (transfer->head_ == transfer->buffer_.size()) {
    transfer->buffer_.clear();
    transfer->head_ = 0;
  }
  transfer->bodyStarted_ = true;
  transfer->Count(length);
  transfer->buffer_.insert(transfer->buffer_.end(), data, data + length);
  return length;
}

}  // namespace kesto::inet::backend
