// The test server's process and the line channel its commands and answers travel on; one
// implementation per kind of test program (a Linux program, a Windows program under Wine).
#pragma once

#include <memory>
#include <string>

namespace kesto::testing {

class ServerProcess {
 public:
  // Starts tests/net/test_server.py; throws when it cannot be started.
  static std::unique_ptr<ServerProcess> Start();
  // Ends the channel, which ends the server, and waits for the process.
  virtual ~ServerProcess() = default;

  virtual void WriteLine(const std::string& line) = 0;
  // The next line without its end; empty once the server has gone.
  virtual std::string ReadLine() = 0;
};

}  // namespace kesto::testing
