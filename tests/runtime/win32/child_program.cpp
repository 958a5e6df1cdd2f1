// A Windows program that the process tests start as "x.qmz". After an optional pause it writes
// what the runtime learnt at start-up to the file its first argument names (its file name, the
// current directory and its arguments, one a line), then waits for input for a while, so that a
// starter waiting for it to become idle is released only once the report exists. Asked for
// "lock", it reports instead whether it could take its folder's instance lock at once.
#include <windows.h>

#include "runtime/core.h"
#include "runtime/instance_lock.h"

int main(int argc, char** argv) {
  kesto::RuntimeStart(argc, argv);
  kesto::Array<kesto::Text> args;
  kesto::CommandLineArgs(args);
  if (args.Count() < 1) return 1;
  if (args.Count() >= 2 && args[2] == "slow") Sleep(500);
  kesto::Text report = kesto::ProgramFileName() + "\n" + kesto::CurrentDirectory() + "\n";
  for (const kesto::Text& arg : args) report += arg + "\n";
  if (args.Count() >= 2 && args[2] == "lock") {
    report = kesto::TakeInstanceLock(kesto::CurrentDirectory(), 0) ? "held" : "refused";
  }
  kesto::WriteFileBytes(args[1], {kesto::ToBytes(report)});
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
  return 0;
}
