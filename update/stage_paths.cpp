#include "update/stage_paths.h"

#include "runtime/tool_services.h"

namespace kesto::update {

Text StageRoot() {
  return CurrentDirectory() + "\\.up-stage";
}

Text StageFolder(const Text& target) {
  return StageRoot() + "\\" + target;
}

Text UpdateLockFile() {
  const Text lock = StageRoot() + "\\update.lock";
  if (!MakeFolder(StageRoot()) || !MakeFileIfMissing(lock)) return {};
  return lock;
}

}  // namespace kesto::update
