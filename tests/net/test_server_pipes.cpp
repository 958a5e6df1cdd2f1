// The test server as a child process of a Linux test program, commands and answers on its
// standard input and output.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "tests/net/test_server_process.h"

namespace kesto::testing {

namespace {

class PipedServer : public ServerProcess {
 public:
  PipedServer() {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      close(in[1]);
      close(out[0]);
      std::string script = std::string(KESTO_SOURCE_DIR) + "/tests/net/test_server.py";
      // The system's own interpreter starts fastest; any python3 on the path will do.
      execl("/usr/bin/python3", "python3", script.c_str(), static_cast<char*>(nullptr));
      execlp("python3", "python3", script.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    to_ = fdopen(in[1], "w");
    from_ = fdopen(out[0], "r");
  }
  ~PipedServer() override {
    if (to_) fclose(to_);  // end of input ends the server
    if (from_) fclose(from_);
    if (pid_ > 0) {
      int status = 0;
      waitpid(pid_, &status, 0);
    }
  }

  void WriteLine(const std::string& line) override {
    fputs((line + "\n").c_str(), to_);
    fflush(to_);
  }

  std::string ReadLine() override {
    std::string line;
    int c;
    while ((c = fgetc(from_)) != EOF && c != '\n') line += static_cast<char>(c);
    return line;
  }

 private:
  pid_t pid_ = -1;
  FILE* to_ = nullptr;
  FILE* from_ = nullptr;
};

}  // namespace

std::unique_ptr<ServerProcess> ServerProcess::Start() {
  return std::make_unique<PipedServer>();
}

int UnusedPort() {
  // Bound and never listened on: connections to it are refused while the socket lives, and
  // the port is not handed out again while any process keeps it; closing leaves it free.
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

}  // namespace kesto::testing
