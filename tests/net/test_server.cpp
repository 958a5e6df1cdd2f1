#include "tests/net/test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace kesto::testing {

namespace {

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string Unhex(const std::string& hex) {
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return out;
}

}  // namespace

TestServer::TestServer() {
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
  std::string first = ReadLine();
  if (first.rfind("PORT ", 0) != 0) throw std::runtime_error("test server did not start");
  port_ = std::stoi(first.substr(5));
}

TestServer::~TestServer() {
  if (to_) fclose(to_);  // end of input ends the server
  if (from_) fclose(from_);
  if (pid_ > 0) {
    int status = 0;
    waitpid(pid_, &status, 0);
  }
}

std::string TestServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void TestServer::Route(const std::string& path, const std::string& response) {
  Command("route " + Hex(path) + " raw " + Hex(response));
}

void TestServer::RouteStream(const std::string& path, const std::string& head, long long size) {
  Command("route " + Hex(path) + " stream " + std::to_string(size) + " " + Hex(head));
}

void TestServer::RouteEndless(const std::string& path, const std::string& head,
                              const std::string& line) {
  Command("route " + Hex(path) + " endless " + Hex(head) + (line.empty() ? "" : " " + Hex(line)));
}

void TestServer::RouteSilent(const std::string& path) {
  Command("route " + Hex(path) + " silent");
}

std::vector<std::string> TestServer::Requests() {
  int count = std::stoi(Command("requests"));
  std::vector<std::string> requests;
  for (int i = 0; i < count; ++i) requests.push_back(Unhex(ReadLine()));
  return requests;
}

std::string TestServer::LastRequest() {
  std::vector<std::string> requests = Requests();
  return requests.empty() ? "" : requests.back();
}

void TestServer::Clear() {
  Command("clear");
}

std::string TestServer::Command(const std::string& line) {
  fputs((line + "\n").c_str(), to_);
  fflush(to_);
  return ReadLine();
}

std::string TestServer::ReadLine() {
  std::string line;
  int c;
  while ((c = fgetc(from_)) != EOF && c != '\n') line += static_cast<char>(c);
  return line;
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

std::string OkResponse(const std::string& body, const std::string& extraLines) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extraLines +
         "\r\n" + body;
}

}  // namespace kesto::testing
