#include "tests/gui/x_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <functional>

namespace kesto::testing {

namespace {

constexpr int kFirstDisplay = 57;
constexpr int kDisplayTries = 40;
constexpr int kReadyTimeoutMs = 10000;

void SleepMs(int ms) {
  timespec pause{ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&pause, nullptr);
}

bool PathExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

bool WaitFor(const std::function<bool()>& ready, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 50) {
    if (ready()) return true;
    SleepMs(50);
  }
  return ready();
}

bool Exited(pid_t pid) {
  int status = 0;
  return waitpid(pid, &status, WNOHANG) == pid;
}

// Connections are opened and closed per question, so that nothing here keeps the server busy.
bool DisplayAnswers(const std::string& display, const std::function<bool(Display*)>& question) {
  Display* connection = XOpenDisplay(display.c_str());
  if (!connection) return false;
  const bool answer = question(connection);
  XCloseDisplay(connection);
  return answer;
}

bool HasWindowManager(Display* connection) {
  Atom check = XInternAtom(connection, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const bool found =
      XGetWindowProperty(connection, DefaultRootWindow(connection), check, 0, 1, False, XA_WINDOW,
                         &type, &format, &count, &after, &data) == Success &&
      count == 1;
  if (data) XFree(data);
  return found;
}

bool HasTray(Display* connection) {
  const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(connection));
  return XGetSelectionOwner(connection, XInternAtom(connection, name.c_str(), False)) != None;
}

}  // namespace

pid_t XSession::Launch(const std::vector<std::string>& argv, const std::string& logName) {
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid != 0) {
    if (pid > 0) children_.push_back(pid);
    return pid;
  }
  // In the child: go when the test goes, whatever way it ends.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != parent) _exit(127);
  const std::string log = logFolder_.empty() ? "/dev/null" : logFolder_ + "/" + logName;
  const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out >= 0) {
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    close(out);
  }
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

std::unique_ptr<XSession> XSession::Start(const Options& options, std::string& whyNot) {
  std::unique_ptr<XSession> session(new XSession);
  session->logFolder_ = options.logFolder;
  const std::string screen =
      std::to_string(options.width) + "x" + std::to_string(options.height) + "x24";
  const int offset = static_cast<int>(getpid() % 200);
  for (int i = 0; i < kDisplayTries && session->display_.empty(); ++i) {
    const int number = kFirstDisplay + (offset + i * 7) % 400;
    const std::string display = ":" + std::to_string(number);
    if (PathExists("/tmp/.X" + std::to_string(number) + "-lock") ||
        PathExists("/tmp/.X11-unix/X" + std::to_string(number))) {
      continue;
    }
    const pid_t server = session->Launch(
        {"Xvfb", display, "-screen", "0", screen, "-nolisten", "tcp", "-br", "-noreset"},
        "xvfb.log");
    if (server < 0) break;
    const bool up = WaitFor(
        [&] { return Exited(server) || DisplayAnswers(display, [](Display*) { return true; }); },
        kReadyTimeoutMs);
    if (up && !Exited(server) && DisplayAnswers(display, [](Display*) { return true; })) {
      session->display_ = display;
    } else {
      kill(server, SIGKILL);
      waitpid(server, nullptr, 0);
      session->children_.pop_back();
    }
  }
  if (session->display_.empty()) {
    whyNot = "no X server could be started (is Xvfb installed?)";
    return nullptr;
  }
  setenv("DISPLAY", session->display_.c_str(), 1);
  const std::string& display = session->display_;
  if (options.windowManager) {
    session->Launch({"openbox", "--sm-disable"}, "openbox.log");
    if (!WaitFor([&] { return DisplayAnswers(display, HasWindowManager); }, kReadyTimeoutMs)) {
      whyNot = "the openbox window manager did not start";
      return nullptr;
    }
  }
  if (options.tray) {
    session->tray_ = session->Launch(
        {"trayer",   "--edge",        "bottom", "--align",       "right", "--widthtype",
         "pixel",    "--width",       "96",     "--heighttype",  "pixel", "--height",
         "32",       "--expand",      "false",  "--transparent", "false", "--tint",
         "0x808080", "--SetDockType", "true"},
        "trayer.log");
    if (!WaitFor([&] { return DisplayAnswers(display, HasTray); }, kReadyTimeoutMs)) {
      whyNot = "the trayer notification area did not start";
      return nullptr;
    }
  }
  return session;
}

void XSession::Stop(pid_t child) {
  kill(child, SIGTERM);
  if (!WaitFor([&] { return Exited(child); }, 3000)) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
}

void XSession::StopTray() {
  if (tray_ <= 0) return;
  Stop(tray_);
  std::erase(children_, tray_);
  tray_ = 0;
  WaitFor([&] { return !DisplayAnswers(display_, HasTray); }, kReadyTimeoutMs);
}

void XSession::StopAll() {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) Stop(*it);
  children_.clear();
}

XSession::~XSession() {
  StopAll();
}

}  // namespace kesto::testing
