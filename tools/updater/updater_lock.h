// One updater at a time per program folder: two quick clicks on the same catalogue entry
// must not install or start the application twice.
#pragma once

namespace kesto::updater {

class UpdaterLock {
 public:
  // Waits at most `timeoutSeconds` for another updater of this program folder to finish.
  explicit UpdaterLock(int timeoutSeconds);
  ~UpdaterLock();
  UpdaterLock(const UpdaterLock&) = delete;
  UpdaterLock& operator=(const UpdaterLock&) = delete;

  bool Held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace kesto::updater
