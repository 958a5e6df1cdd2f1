// The test server for a Windows test program under Wine: Wine starts the Linux interpreter
// itself, but cannot hand it the program's pipes, so the server connects back to a port of
// 127.0.0.1 and takes its commands over that connection.
#include <winsock2.h>

#include <filesystem>
#include <stdexcept>

#include "tests/net/test_server_process.h"

namespace kesto::testing {

namespace {

struct Winsock {
  Winsock() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
};

// The Linux interpreter as a Windows path, taken while the test program is still in the folder
// it was started in, on the drive that reaches the machine's own files: a test may move into a
// temporary folder on another drive before it starts a server.
const std::filesystem::path kInterpreter = std::filesystem::absolute("/usr/bin/python3");

SOCKET LoopbackSocket(sockaddr_in& address) {
  static Winsock winsock;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  return s;
}

class ConnectedServer : public ServerProcess {
 public:
  ConnectedServer() {
    sockaddr_in address;
    SOCKET listener = LoopbackSocket(address);
    listen(listener, 1);
    // The source folder's path is ASCII and goes to the Linux interpreter as it stands.
    std::string script = std::string(KESTO_SOURCE_DIR) + "/tests/net/test_server.py";
    std::wstring line = L"python3 " + std::wstring(script.begin(), script.end()) + L" --connect " +
                        std::to_wstring(ntohs(address.sin_port));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(kInterpreter.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_)) {
      closesocket(listener);
      throw std::runtime_error("test server did not start");
    }
    fd_set waiting;
    FD_ZERO(&waiting);
    FD_SET(listener, &waiting);
    timeval limit{30, 0};
    if (select(0, &waiting, nullptr, nullptr, &limit) == 1) {
      channel_ = accept(listener, nullptr, nullptr);
    }
    closesocket(listener);
    if (channel_ == INVALID_SOCKET) throw std::runtime_error("test server did not connect");
  }
  ~ConnectedServer() override {
    if (channel_ != INVALID_SOCKET) closesocket(channel_);  // end of input ends the server
    WaitForSingleObject(process_.hProcess, 10000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }

  void WriteLine(const std::string& line) override {
    std::string bytes = line + "\n";
    for (std::size_t sent = 0; sent < bytes.size();) {
      int n = send(channel_, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
      if (n <= 0) return;
      sent += static_cast<std::size_t>(n);
    }
  }

  std::string ReadLine() override {
    std::string line;
    for (;;) {
      std::size_t end = pending_.find('\n');
      if (end != std::string::npos) {
        line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        return line;
      }
      char chunk[4096];
      int n = recv(channel_, chunk, sizeof chunk, 0);
      if (n <= 0) {
        line.swap(pending_);
        return line;
      }
      pending_.append(chunk, static_cast<std::size_t>(n));
    }
  }

 private:
  PROCESS_INFORMATION process_{};
  SOCKET channel_ = INVALID_SOCKET;
  std::string pending_;
};

}  // namespace

std::unique_ptr<ServerProcess> ServerProcess::Start() {
  return std::make_unique<ConnectedServer>();
}

int UnusedPort() {
  // Bound and never listened on: connections to it are refused while the socket lives, and
  // the port is not handed out again while any process keeps it; closing leaves it free.
  sockaddr_in address;
  closesocket(LoopbackSocket(address));
  return ntohs(address.sin_port);
}

}  // namespace kesto::testing
