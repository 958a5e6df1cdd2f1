#include "tests/program/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace kesto::testing {

LoopbackServer::LoopbackServer() {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  int on = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener_, 16);
  socklen_t length = sizeof address;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

LoopbackServer::~LoopbackServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  released_.notify_all();
  thread_.join();
  close(listener_);
}

std::string LoopbackServer::Address(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackServer::Serve(const std::string& path, const std::string& body) {
  ServeRaw(path, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                     "\r\nConnection: close\r\n\r\n" + body);
}

void LoopbackServer::ServeRaw(const std::string& path, const std::string& raw) {
  ServeInPieces(path, raw, {});
}

void LoopbackServer::ServeInPieces(const std::string& path, const std::string& head,
                                   const std::vector<std::string>& pieces) {
  std::lock_guard lock(mutex_);
  std::vector<std::string>& response = responses_[path];
  response = {head};
  response.insert(response.end(), pieces.begin(), pieces.end());
}

void LoopbackServer::ReleasePiece() {
  {
    std::lock_guard lock(mutex_);
    ++releasedPieces_;
  }
  released_.notify_all();
}

void LoopbackServer::Run() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (poll(&waiting, 1, 50) <= 0) continue;
    int connection = accept(listener_, nullptr, nullptr);
    if (connection < 0) continue;
    timeval patience{5, 0};  // a client that never finishes its request is dropped
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    Answer(connection);
    close(connection);
  }
}

void LoopbackServer::Answer(int connection) {
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    ssize_t got = recv(connection, buffer, sizeof buffer, 0);
    if (got <= 0) return;
    request.append(buffer, static_cast<size_t>(got));
  }
  std::string line = request.substr(0, request.find("\r\n"));
  std::string path = line.substr(line.find(' ') + 1);
  path = path.substr(0, path.find(' '));
  std::vector<std::string> response{
      "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"};
  {
    std::lock_guard lock(mutex_);
    if (auto found = responses_.find(path); found != responses_.end()) response = found->second;
  }
  if (!Send(connection, response[0])) return;
  for (std::size_t piece = 1; piece < response.size(); ++piece) {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [&] { return stopping_ || releasedPieces_ > 0; });
    if (stopping_) return;
    --releasedPieces_;
    lock.unlock();
    if (!Send(connection, response[piece])) return;
  }
  shutdown(connection, SHUT_WR);
}

bool LoopbackServer::Send(int connection, const std::string& bytes) {
  for (std::size_t sent = 0; sent < bytes.size();) {
    ssize_t put = send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (put <= 0) return false;
    sent += static_cast<std::size_t>(put);
  }
  return true;
}

int UnusedPort() {
  LoopbackServer probe;
  return probe.port();
}

}  // namespace kesto::testing
