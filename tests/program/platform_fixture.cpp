#include "tests/program/platform_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "layouts/names.h"
#include "net/self_update.h"
#include "runtime/program_file.h"
#include "runtime/tool_services.h"
#include "shell/globals.h"
#include "shell/process_entry.h"
#include "tests/program/started_command_line.h"

namespace kesto::testing {

namespace {

// The built programs, taken while the test program is still in the folder it was started in:
// each test then works in a temporary folder, which may lie on another drive.
const std::filesystem::path kRegtool = std::filesystem::absolute(KESTO_REGTOOL);
const std::filesystem::path kUpdaterStandIn = std::filesystem::absolute(KESTO_UPDATER_STAND_IN);

// One argument of a command line as a program's C runtime reads it back: in double quotes,
// with each quote and the backslashes before a quote or the closing one doubled as escapes. A
// two-byte character's second byte is no backslash.
Text QuotedArgument(const Text& word) {
  Text quoted = "\"";
  std::size_t backslashes = 0;
  for (std::size_t at = 0; at < word.size(); ++at) {
    const char c = word[at];
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted += Text(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
    if (static_cast<unsigned char>(c) >= 0x81 && at + 1 < word.size()) quoted += word[++at];
  }
  return quoted + Text(backslashes * 2, '\\') + "\"";
}

// A UTF-8 word as the program's text; a word GBK cannot hold fails the test.
Text Gbk(const std::string& utf8) {
  std::optional<Text> text = Utf8ToTextExact(utf8);
  EXPECT_TRUE(text) << utf8;
  return text.value_or("");
}

std::string Utf8Path(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
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
  OverrideProgramFile(folder_.Inside("kesto"));
  UseStartedCommandLine(words);
  // The main window's created event runs the start-up sequence inside the entry; the entry's
  // message loop returns once no posted work is left.
  return Ending([&] { shell::ProcessEntry(static_cast<int>(words.size()), argv.data()); });
}

std::optional<int> PlatformTest::Drain() {
  return Ending([] { ProcessEvents(); });
}

void PlatformTest::WriteRegFile(const std::vector<std::string>& values) {
  // Started as the platform starts programs; regtool takes its words as UTF-8, so the GBK
  // values must arrive intact through whatever the system converts them to.
  Text command = QuotedArgument(Gbk(Utf8Path(kRegtool))) + " write " +
                 QuotedArgument(Gbk(Utf8Path(folder_ / "reg.qmz")));
  for (const std::string& value : values) command += " " + QuotedArgument(Gbk(value));
  std::filesystem::remove(folder_ / "reg.qmz");
  ASSERT_TRUE(RunCommand(command, true)) << command;
  ASSERT_TRUE(folder_.Exists("reg.qmz")) << "regtool refused " << command;
}

void PlatformTest::WriteStandardRegFile() {
  WriteRegFile({"5551234", Utf8(u8"测试公司"), "www.test.example", "http://pay.test.example/buy",
                "http://ad.test.example/", ""});
}

void PlatformTest::InstallUpdater() {
  folder_.Write("up.qmz", UpdaterProgram());
  std::filesystem::permissions(folder_ / "up.qmz", std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add);
}

std::string PlatformTest::UpdaterProgram() {
  std::ifstream in(kUpdaterStandIn, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
