// A private X display for GUI tests and benchmarks: Xvfb on a display number of its own, with
// the openbox window manager and the trayer notification area when asked for. Everything it
// starts is stopped again when it goes, and also when the process that started it dies.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace kesto::testing {

class XSession {
 public:
  struct Options {
    bool windowManager = true;
    bool tray = true;
    int width = 1280;
    int height = 1024;
    std::string logFolder;  // where the servers' output goes; empty: discarded
  };

  // nullptr, with the reason in `whyNot`, when no X server can be started here.
  static std::unique_ptr<XSession> Start(const Options& options, std::string& whyNot);
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  // ":3" and the like; also put into DISPLAY for this process and its children.
  const std::string& display() const { return display_; }

  // Takes the notification area away, as on a desktop that has none.
  void StopTray();

 private:
  XSession() = default;
  pid_t Launch(const std::vector<std::string>& argv, const std::string& logName);
  std::string LaunchServer(const std::string& screen);  // the display, or empty
  static void Stop(pid_t child);
  void StopAll();

  std::string display_;
  std::string logFolder_;
  std::vector<pid_t> children_;  // in start order; stopped in reverse
  pid_t tray_ = 0;
};

}  // namespace kesto::testing
