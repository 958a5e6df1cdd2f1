#include "tests/program/platform_fixture.h"

#include <sys/wait.h>

#include <sstream>
#include <thread>

#include "layouts/names.h"
#include "net/self_update.h"
#include "runtime/posix/native_text.h"
#include "runtime/program_file.h"
#include "shell/globals.h"
#include "shell/process_entry.h"

namespace kesto::testing {

namespace {

// Records each start (arguments, folder, and the run target and platform name it finds in
// qmztx.ini) as one tab-separated line of updater.log.
constexpr char kUpdaterScript[] = R"SH(#!/bin/sh
here=$(pwd)
cd "$(dirname "$0")" || exit 1
run=$(grep -a '^run=' qmztx.ini | tr -d '\r' | cut -d= -f2-)
name=$(grep -a '^name=' qmztx.ini | tr -d '\r' | cut -d= -f2-)
printf '%s\t%s\t%s\t%s\n' "$*" "$here" "$run" "$name" >> updater.log
)SH";

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

void PlatformTest::SetUp() {
  headless::ResetAll();
  headless::ResetFakeWindows();
  net::OverrideUpdateListAddress("http://127.0.0.1:9/app/up/1.txt");
}

void PlatformTest::TearDown() {
  headless::ResetAll();
  RegisterExitRoutine({});
  OverrideProgramFile("");
  if (shell::AppConfig) shell::ReleaseGlobals();
  net::OverrideUpdateListAddress("");
}

std::optional<int> PlatformTest::Start(const std::vector<std::string>& args) {
  std::vector<std::string> words{(folder_.root() / "kesto").string()};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  OverrideProgramFile(posix::FromNativePath(words[0]));
  // The main window's created event runs the start-up sequence inside the entry; the entry's
  // message loop returns once no posted work is left.
  return Ending([&] { shell::ProcessEntry(static_cast<int>(words.size()), argv.data()); });
}

std::optional<int> PlatformTest::Drain() {
  return Ending([] { ProcessEvents(); });
}

void PlatformTest::WriteRegFile(const std::vector<std::string>& values) {
  std::string command = std::string(KESTO_REGTOOL) + " write " + Quoted((folder_ / "reg.qmz"));
  for (const std::string& value : values) command += " " + Quoted(value);
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

void PlatformTest::WriteStandardRegFile() {
  WriteRegFile({"5551234", Utf8(u8"测试公司"), "www.test.example", "http://pay.test.example/buy",
                "http://ad.test.example/", ""});
}

void PlatformTest::InstallUpdater() {
  folder_.Write("up.qmz", kUpdaterScript);
  std::filesystem::permissions(folder_ / "up.qmz", std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add);
}

std::vector<UpdaterStart> PlatformTest::UpdaterStarts() const {
  std::vector<UpdaterStart> starts;
  std::istringstream log(folder_.Read("updater.log"));
  for (std::string line; std::getline(log, line);) {
    UpdaterStart start;
    std::istringstream fields(line);
    std::getline(fields, start.args, '\t');
    std::getline(fields, start.cwd, '\t');
    std::getline(fields, start.run, '\t');
    std::getline(fields, start.name, '\t');
    starts.push_back(start);
  }
  return starts;
}

std::vector<UpdaterStart> PlatformTest::WaitForUpdaterStarts(std::size_t count) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (UpdaterStarts().size() < count && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return UpdaterStarts();
}

Text PlatformTest::ConfigValue(const Text& section, const Text& key) const {
  return ReadIniValue(CurrentDirectory() + "\\qmztx.ini", section, key);
}

void PlatformTest::RecordWindow(const Text& key, native::Handle window) const {
  WriteIniValue(CurrentDirectory() + "\\qmztx.ini", "jb", key, ToText(static_cast<int>(window)));
}

int PlatformTest::CurrentPage() const {
  return ui::GetInt(refs::kPages, ui::prop::tab::kCurrentPage);
}

std::vector<Text> PlatformTest::MessageTexts() const {
  std::vector<Text> texts;
  for (const headless::MessageRecord& box : headless::MessageBoxes()) texts.push_back(box.text);
  return texts;
}

}  // namespace kesto::testing
