#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "runtime/posix/native_text.h"
#include "shell/globals.h"
#include "shell/platform_info.h"

namespace kesto {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class RegtoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kesto-regtool-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    file_ = folder_ / "reg.qmz";
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Runs regtool with the arguments, its output caught in files beside the folder under test.
  Outcome Run(std::vector<std::string> args) {
    const fs::path out = folder_.string() + ".out";
    const fs::path err = folder_.string() + ".err";
    args.insert(args.begin(), KESTO_REGTOOL);
    const pid_t child = fork();
    if (child == 0) {
      std::vector<char*> argv;
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0) _exit(127);
      execv(argv[0], argv.data());
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
    fs::remove(out);
    fs::remove(err);
    return outcome;
  }

  Outcome Write(const std::vector<std::string>& values) {
    std::vector<std::string> args = {"write", file_.string()};
    args.insert(args.end(), values.begin(), values.end());
    return Run(args);
  }

  // What the platform loads with `folder_` as its program folder.
  bool Load() {
    const fs::path saved = fs::current_path();
    fs::current_path(folder_);
    shell::InitGlobals();
    const bool loaded = shell::LoadPlatformInfo();
    fs::current_path(saved);
    return loaded;
  }

  // Everything in the folder, to see that nothing was left behind.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  fs::path folder_;
  fs::path file_;
};

// The tool's command line and output are UTF-8, whatever this file's literals are compiled to.
std::string Utf8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

const char* const kNames[] = {"ServiceNumber", "CompanyName", "WebSite",
                              "PurchasePage",  "AdPage",      "SpareField"};
const std::vector<std::string> kValues = {
    "13800138000",           Utf8(u8"星辰软件"),           "shop.example.cn:8088",
    "http://pay.example.cn", "http://shop.example.cn/ad/", Utf8(u8"备用")};

TEST_F(RegtoolTest, AWrittenFileLoadsInThePlatformWithItsSixValues) {
  const Outcome written = Write(kValues);
  ASSERT_EQ(written.exitCode, 0) << written.err;
  ASSERT_TRUE(Load());
  std::string listing;
  for (int i = 1; i <= 6; ++i) {
    EXPECT_EQ(posix::GbkToUtf8(shell::PlatformInfo[i]), kValues[i - 1]) << i;
    listing += std::string(kNames[i - 1]) + "=" + kValues[i - 1] + "\n";
  }
  const Outcome read = Run({"read", file_.string()});
  EXPECT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(read.out, listing);
  EXPECT_EQ(Entries(), std::vector<std::string>{"reg.qmz"});

  // An empty sixth field would end the payload in a separator; it still reads back empty.
  ASSERT_EQ(Write({"", "2", "", "4", "5", ""}).exitCode, 0);
  ASSERT_TRUE(Load());
  EXPECT_EQ(shell::PlatformInfo, (Array<Text>{"", "2", "", "4", "5", ""}));
}

TEST_F(RegtoolTest, BadArgumentsGetTheUsageAndTouchNothing) {
  for (const auto& args :
       {std::vector<std::string>{}, std::vector<std::string>{"read", "a", "b"},
        std::vector<std::string>{"write", file_.string(), "1", "2", "3", "4", "5"}}) {
    const Outcome outcome = Run(args);
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.err.find("usage: regtool write FILE"), std::string::npos);
  }
  EXPECT_TRUE(Entries().empty());
}

TEST_F(RegtoolTest, ARefusedWriteLeavesWhatStoodThere) {
  ASSERT_EQ(Write(kValues).exitCode, 0);
  const std::string before = Slurp(file_);
  const Outcome separator = Write({"1", "a|~|b", "3", "4", "5", "6"});
  EXPECT_EQ(separator.exitCode, 1);
  EXPECT_NE(separator.err.find("|~|"), std::string::npos) << separator.err;
  const Outcome notUtf8 = Write({"1", "\xff\xfe", "3", "4", "5", "6"});
  EXPECT_NE(notUtf8.err.find("CompanyName"), std::string::npos) << notUtf8.err;
  const Outcome tooLong = Write({"1", "2", "3", "4", "5", std::string(70000, 'x')});
  EXPECT_NE(tooLong.err.find("too long"), std::string::npos) << tooLong.err;
  EXPECT_EQ(Slurp(file_), before);
  EXPECT_EQ(Entries(), std::vector<std::string>{"reg.qmz"});

  // A read-only file is refused, as Windows refuses it.
  fs::permissions(file_, fs::perms::owner_write, fs::perm_options::remove);
  const Outcome readOnly = Write({"1", "2", "3", "4", "5", "6"});
  EXPECT_EQ(readOnly.exitCode, 1);
  EXPECT_NE(readOnly.err.find("cannot replace"), std::string::npos) << readOnly.err;
  EXPECT_EQ(Slurp(file_), before);
  EXPECT_EQ(Entries(), std::vector<std::string>{"reg.qmz"});

  fs::remove(file_);
  fs::create_directory(file_);
  const Outcome folder = Write(kValues);
  EXPECT_EQ(folder.exitCode, 1);
  EXPECT_NE(folder.err.find("cannot replace"), std::string::npos) << folder.err;
  EXPECT_TRUE(fs::is_directory(file_));
  EXPECT_EQ(Entries(), std::vector<std::string>{"reg.qmz"});
}

TEST_F(RegtoolTest, ReadingSaysWhyAFileCannotBeUsed) {
  const auto why = [&](const std::string& content) {
    std::ofstream(file_, std::ios::binary) << content;
    const Outcome outcome = Run({"read", file_.string()});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    return outcome.err;
  };
  EXPECT_NE(why("").find("empty"), std::string::npos);
  EXPECT_NE(why("1 and no separator").find("does not split"), std::string::npos);
  EXPECT_NE(why("0var?donpayload").find("flag is not \"1\""), std::string::npos);
  EXPECT_NE(why("1var?don12345678").find("fewer than six fields"), std::string::npos);
  fs::remove(file_);
  EXPECT_NE(Run({"read", file_.string()}).err.find("No such file"), std::string::npos);
  fs::create_directory(file_);
  EXPECT_NE(Run({"read", file_.string()}).err.find("is a directory"), std::string::npos);
}

}  // namespace
}  // namespace kesto
