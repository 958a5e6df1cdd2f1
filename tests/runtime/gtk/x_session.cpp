#include "tests/runtime/gtk/x_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <functional>

namespace kesto::testing {

namespace {

constexpr int kReadyTimeoutMs = 10000;

std::int64_t NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

void SleepMs(int ms) {
  timespec pause{ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&pause, nullptr);
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

// What the server wrote to `from` up to its first line break, within the time allowed; empty
// when it ended or wrote nothing usable.
std::string FirstLine(int from, int timeoutMs) {
  std::string line;
  const std::int64_t deadline = NowMs() + timeoutMs;
  for (std::int64_t left = timeoutMs; left > 0; left = deadline - NowMs()) {
    pollfd ready{from, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(left)) <= 0) break;
    char c = 0;
    if (read(from, &c, 1) != 1) break;
    if (c == '\n') return line;
    line += c;
  }
  return "";
}

}  // namespace

// The server picks a free display number itself and names it once it takes connections
// (-displayfd): a number looked for here first could be taken by another test's server in the
// meantime, and both tests would then drive one screen.
std::string XSession::LaunchServer(const std::string& screen) {
  int numbers[2];
  if (pipe2(numbers, O_CLOEXEC) != 0) return "";
  fcntl(numbers[1], F_SETFD, 0);  // the server's end stays open across exec
  const pid_t server = Launch({"Xvfb", "-displayfd", std::to_string(numbers[1]), "-screen", "0",
                               screen, "-nolisten", "tcp", "-br", "-noreset"},
                              "xvfb.log");
  close(numbers[1]);
  const std::string number = server > 0 ? FirstLine(numbers[0], kReadyTimeoutMs) : "";
  close(numbers[0]);
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
    if (server > 0) {
      Stop(server);
      std::erase(children_, server);
    }
    return "";
  }
  return ":" + number;
}

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
  session->display_ = session->LaunchServer(screen);
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
