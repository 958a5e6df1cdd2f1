// The program file a test names instead of the running executable, and the file name
// RuntimeStart found: one record for every back end.
#include "runtime/program_file.h"

#include <mutex>

namespace kesto {

namespace {

struct ProgramFileRecord {
  std::mutex lock;
  Text fileName;
  Text override;  // the program file a test names, or empty
};

ProgramFileRecord& Record() {
  static ProgramFileRecord record;
  return record;
}

}  // namespace

void OverrideProgramFile(const Text& path) {
  auto& record = Record();
  std::lock_guard<std::mutex> guard(record.lock);
  record.override = path;
}

Text ProgramFileOverride() {
  auto& record = Record();
  std::lock_guard<std::mutex> guard(record.lock);
  return record.override;
}

void RememberProgramFileName(const Text& fileName) {
  auto& record = Record();
  std::lock_guard<std::mutex> guard(record.lock);
  record.fileName = fileName;
}

Text ProgramFileName() {
  auto& record = Record();
  std::lock_guard<std::mutex> guard(record.lock);
  return record.fileName;
}

}  // namespace kesto
