// Runs tests/net/test_server.py as a child process: a real HTTP server on 127.0.0.1 that
// answers scripted responses and records the raw bytes of every request it receives.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/net/test_server_process.h"

namespace kesto::testing {

class TestServer {
 public:
  TestServer();
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by the path.
  std::string Url(const std::string& path) const;

  // Answers requests for `path` with these bytes, then closes the connection.
  void Route(const std::string& path, const std::string& response);
  // Answers with the head, then `size` generated body bytes (byte i is i % 251).
  void RouteStream(const std::string& path, const std::string& head, long long size);
  // Answers with the head, then `line` (a filler header line when empty) without end.
  void RouteEndless(const std::string& path, const std::string& head, const std::string& line = "");
  // Reads the request and answers nothing, keeping the connection open until the client leaves.
  void RouteSilent(const std::string& path);
  // Sends the response in `pieces` parts with `gapMs` before each; then closes the connection,
  // or with `hold` keeps it open, saying nothing more, until the client leaves.
  enum class AfterTrickle { kClose, kHold };
  void RouteTrickle(const std::string& path, const std::string& response, int pieces, int gapMs,
                    AfterTrickle after = AfterTrickle::kClose);
  // Sends the head at once, then the body in pieces of `pieceSize` bytes with `gapMs` before
  // each; then closes the connection.
  void RouteDrip(const std::string& path, const std::string& head, const std::string& body,
                 int pieceSize, int gapMs);
  // Sends the head at once, then each piece only after the test has let one go with
  // ReleasePiece; then closes the connection.
  void RouteGated(const std::string& path, const std::string& head,
                  const std::vector<std::string>& pieces);
  // Lets one held piece go: the next connection waiting for one sends it.
  void ReleasePiece();

  // The raw bytes of every request received since the last Clear, in order of arrival.
  std::vector<std::string> Requests();
  // The last request received; empty when there was none.
  std::string LastRequest();
  void Clear();

 private:
  std::string Command(const std::string& line);

  std::unique_ptr<ServerProcess> process_;
  int port_ = 0;
};

// A port of 127.0.0.1 on which nothing listens (with the server process's implementation).
int UnusedPort();

// "HTTP/1.1 200 OK" with a Content-Length line, any extra lines, and the body.
std::string OkResponse(const std::string& body, const std::string& extraLines = "");

// The generated body byte at `offset` of a streamed response.
inline char StreamByte(long long offset) {
  return static_cast<char>(offset % 251);
}

}  // namespace kesto::testing
