#include "tests/net/test_server.h"

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

TestServer::TestServer() : process_(ServerProcess::Start()) {
  std::string first = process_->ReadLine();
  if (first.rfind("PORT ", 0) != 0) throw std::runtime_error("test server did not start");
  port_ = std::stoi(first.substr(5));
}

TestServer::~TestServer() = default;

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

void TestServer::RouteTrickle(const std::string& path, const std::string& response, int pieces,
                              int gapMs, AfterTrickle after) {
  Command("route " + Hex(path) + " trickle " + std::to_string(pieces) + " " +
          std::to_string(gapMs) + " " + Hex(response) +
          (after == AfterTrickle::kHold ? " hold" : ""));
}

void TestServer::RouteDrip(const std::string& path, const std::string& head,
                           const std::string& body, int pieceSize, int gapMs) {
  Command("route " + Hex(path) + " drip " + std::to_string(pieceSize) + " " +
          std::to_string(gapMs) + " " + Hex(head) + " " + Hex(body));
}

void TestServer::RouteGated(const std::string& path, const std::string& head,
                            const std::vector<std::string>& pieces) {
  std::string parts = Hex(head);
  for (const std::string& piece : pieces) parts += "," + Hex(piece);
  Command("route " + Hex(path) + " gated " + parts);
}

void TestServer::ReleasePiece() {
  Command("release");
}

std::vector<std::string> TestServer::Requests() {
  int count = std::stoi(Command("requests"));
  std::vector<std::string> requests;
  for (int i = 0; i < count; ++i) requests.push_back(Unhex(process_->ReadLine()));
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
  process_->WriteLine(line);
  return process_->ReadLine();
}

std::string OkResponse(const std::string& body, const std::string& extraLines) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extraLines +
         "\r\n" + body;
}

}  // namespace kesto::testing
