// A small HTTP server on 127.0.0.1 for the program tests: each path answers with a fixed raw
// response, which may be held back piece by piece until the test lets each piece go.
#pragma once

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kesto::testing {

class LoopbackServer {
 public:
  LoopbackServer();
  ~LoopbackServer();

  int port() const { return port_; }
  std::string Address(const std::string& path) const;

  // A complete response with Content-Length.
  void Serve(const std::string& path, const std::string& body);
  // Raw bytes sent as they stand, then the connection is closed.
  void ServeRaw(const std::string& path, const std::string& raw);
  // The head at once, then each piece only after the test has let it go with ReleasePiece.
  void ServeInPieces(const std::string& path, const std::string& head,
                     const std::vector<std::string>& pieces);
  void ReleasePiece();

 private:
  void Run();
  void Answer(int connection);
  bool Send(int connection, const std::string& bytes);

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, std::vector<std::string>> responses_;  // head, then gated pieces
  std::condition_variable released_;
  int releasedPieces_ = 0;
  std::thread thread_;
};

// A port on 127.0.0.1 that nothing listens on.
int UnusedPort();

}  // namespace kesto::testing
