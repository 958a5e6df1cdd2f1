#include <sys/stat.h>

#include <filesystem>
#include <thread>

#include "runtime/core.h"
#include "runtime/program_file.h"
#include "tests/runtime/posix/temp_folder.h"

namespace kesto {
namespace {

class Processes : public testing::TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    previous_ = std::filesystem::current_path();
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    TempFolder::TearDown();
  }

  // A script that writes its arguments, one a line, to `out`.
  void WriteScript(const std::string& name, const std::string& out) {
    WriteNative(name, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" + Native(out) +
                          ".tmp\"\nmv \"" + Native(out) + ".tmp\" \"" + Native(out) + "\"\n");
    chmod(Native(name).c_str(), 0755);
  }

  // Waits for a file the child writes.
  std::string AwaitNative(const std::string& name) {
    for (int i = 0; i < 500 && !std::filesystem::exists(Native(name)); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ReadNative(name);
  }

  std::filesystem::path previous_;
};

TEST_F(Processes, StartsAScriptWithAnyExtension) {
  WriteScript("x.qmz", "args.txt");
  EXPECT_TRUE(RunCommand("\"" + Inside("x.qmz") + "\" -qmz", false));
  EXPECT_EQ(AwaitNative("args.txt"), "-qmz\n");
}

TEST_F(Processes, ArgumentsFollowTheWindowsQuotingRules) {
  WriteScript("x.qmz", "args.txt");
  EXPECT_TRUE(RunCommand(Inside("x.qmz") + " a \"b c\" d\\\"e \xB0\x5C", true));
  EXPECT_EQ(ReadNative("args.txt"), "a\nb c\nd\"e\n" + posix::GbkToUtf8("\xB0\x5C") + "\n");
}

TEST_F(Processes, AnUnquotedPathWithSpacesIsFoundByItsShortestRun) {
  std::filesystem::create_directory(Native("my tools"));
  WriteScript("my tools/run me.qmz", "args.txt");
  EXPECT_TRUE(RunCommand(Inside("my tools\\run me.qmz") + " x", true));
  EXPECT_EQ(ReadNative("args.txt"), "x\n");
}

TEST_F(Processes, ABareNameIsFoundInTheCurrentDirectory) {
  WriteScript("up.qmz", "args.txt");
  std::filesystem::current_path(Native());
  EXPECT_TRUE(RunCommand("up.qmz -qmz", true));
  EXPECT_EQ(ReadNative("args.txt"), "-qmz\n");
}

TEST_F(Processes, FalseWhenNothingCouldBeStarted) {
  WriteNative("plain.qmz", "#!/bin/sh\n");  // no execute bit
  WriteNative("noshebang.qmz", "echo hi\n");
  chmod(Native("noshebang.qmz").c_str(), 0755);
  EXPECT_FALSE(RunCommand(Inside("missing.qmz"), false));
  EXPECT_FALSE(RunCommand(Inside("plain.qmz"), false));
  EXPECT_FALSE(RunCommand(Inside("noshebang.qmz"), false));
  EXPECT_FALSE(RunCommand("", false));
  EXPECT_FALSE(RunCommand("   ", false));
}

TEST_F(Processes, WaitingBlocksUntilTheChildEnds) {
  WriteNative("slow.qmz", "#!/bin/sh\nsleep 0.3\necho done > \"" + Native("done.tmp") +
                              "\"\nmv \"" + Native("done.tmp") + "\" \"" + Native("done") + "\"\n");
  chmod(Native("slow.qmz").c_str(), 0755);
  int before = TickCount();
  EXPECT_TRUE(RunCommand(Inside("slow.qmz"), true));
  EXPECT_GE(TickCount() - before, 250);
  EXPECT_EQ(ReadNative("done"), "done\n");
  // Without waiting the call returns while the child still runs.
  std::filesystem::remove(Native("done"));
  EXPECT_TRUE(RunCommand(Inside("slow.qmz"), false));
  EXPECT_FALSE(std::filesystem::exists(Native("done")));
  EXPECT_EQ(AwaitNative("done"), "done\n");
}

TEST_F(Processes, RuntimeStartEntersTheProgramFolderAndRecordsTheCommandLine) {
  std::filesystem::create_directory(Native("prog dir"));
  std::string program = Native("prog dir/kesto");
  std::string quoted = "a b";
  char* argv[] = {program.data(), const_cast<char*>("-qmz"), quoted.data(), nullptr};
  OverrideProgramFile(Inside("prog dir\\kesto"));
  RuntimeStart(3, argv);
  OverrideProgramFile("");
  EXPECT_EQ(CurrentDirectory(), Inside("prog dir"));
  EXPECT_EQ(ProgramFileName(), "kesto");
  Array<Text> args;
  CommandLineArgs(args);
  EXPECT_EQ(args.Items(), (std::vector<Text>{"-qmz", "a b"}));

  // Whatever argv[0] says, the program file is the running executable.
  std::filesystem::current_path(Native());
  std::string relative = "./prog dir/../prog dir/kesto";
  char* relativeArgv[] = {relative.data(), nullptr};
  RuntimeStart(1, relativeArgv);
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(CurrentDirectory(), posix::FromNativePath(self.parent_path()));
  EXPECT_EQ(ProgramFileName(), self.filename().string());
  CommandLineArgs(args);
  EXPECT_EQ(args.Count(), 0);
}

TEST(TickCount, CountsMilliseconds) {
  int before = TickCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  int elapsed = TickCount() - before;
  EXPECT_GE(elapsed, 45);
  EXPECT_LT(elapsed, 5000);
}

}  // namespace
}  // namespace kesto
