// The instance lock across real processes: one holder per folder, whatever the spelling of its
// path, none between folders, and free again once its holder has ended.
#include "runtime/instance_lock.h"

#include <filesystem>
#include <thread>

#include "runtime/core.h"
#include "runtime/win32/wide_text.h"
#include "tests/runtime/win32/temp_folder.h"

namespace kesto {
namespace {

Text UpperCase(const Text& path) {
  std::wstring wide = win32::ToWide(path);
  CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return win32::FromWide(wide);
}

class InstanceLock : public testing::TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    std::filesystem::create_directory(Wide(L"other"));
    std::filesystem::copy_file(KESTO_CHILD_PROGRAM, Wide(L"x.qmz"));
    std::filesystem::copy_file(KESTO_CHILD_PROGRAM, Wide(L"other\\x.qmz"));
  }
  // What a program started from `program` found: "held" or "refused".
  Text LockSeenBy(const Text& program) {
    const Text report = Inside("report.txt");
    WriteFileBytes(report, {});
    RunCommand("\"" + program + "\" \"" + report + "\" lock", true);
    return ToText(ReadFileBytes(report));
  }
};

TEST_F(InstanceLock, OneHolderPerFolderUntilItEnds) {
  HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE letGo = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool held = false;
  // A thread that ends lets go, as a process that ends does.
  std::thread holder([&] {
    held = TakeInstanceLock(Inside(), 0);
    SetEvent(taken);
    WaitForSingleObject(letGo, INFINITE);
  });
  WaitForSingleObject(taken, INFINITE);
  EXPECT_TRUE(held);
  EXPECT_EQ(LockSeenBy(Inside("x.qmz")), "refused");
  EXPECT_EQ(LockSeenBy(UpperCase(Inside("x.qmz"))), "refused") << "another spelling";
  EXPECT_EQ(LockSeenBy(Inside("other\\x.qmz")), "held") << "another folder's copy";
  SetEvent(letGo);
  holder.join();
  EXPECT_EQ(LockSeenBy(Inside("x.qmz")), "held");
  CloseHandle(taken);
  CloseHandle(letGo);
}

}  // namespace
}  // namespace kesto
