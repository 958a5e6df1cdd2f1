#include "update/package_install.h"

#include <vector>

#include "runtime/tool_services.h"
#include "update/app_key.h"
#include "update/installed_app.h"
#include "update/installed_state.h"
#include "update/signed_release.h"

namespace kesto::update {

namespace {

// The download folder, removed with all it holds however the install ends.
class StagingFolder {
 public:
  explicit StagingFolder(Text path) : path_(std::move(path)) {
    RemoveFolderTree(path_);
    created_ = MakeFolder(path_);
  }
  ~StagingFolder() { RemoveFolderTree(path_); }
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  bool Created() const { return created_; }
  const Text& Path() const { return path_; }

 private:
  Text path_;
  bool created_ = false;
};

Text Explain(const Text& key, const Text& reason) {
  return "无法安装应用 " + key + "：" + reason;
}

}  // namespace

bool InstallPackage(const Text& key, Text& problem) {
  if (!update::IsApplicationKey(key)) {
    problem = Explain(key, "名称不能用作应用名");
    return false;
  }
  // Beside the app folder, not in it: the platform's list must not see a half-fetched package.
  StagingFolder staging(CurrentDirectory() + "\\.up-" + key + "-" +
                        std::to_string(CurrentProcessId()));
  if (!staging.Created()) {
    problem = Explain(key, "cannot create " + staging.Path());
    return false;
  }

  const Text program = staging.Path() + "\\" + key + ".qmz";
  std::vector<Text> names;
  Text version;
  if (!FetchSignedRelease(key, staging.Path(), names, version, problem)) return false;
  if (!MakeRunnable(program)) {
    problem = Explain(key, "cannot make " + program + " runnable");
    return false;
  }

  const Text appFolder = AppFolder() + "\\" + key;
  MakeFolder(appFolder);
  for (const Text& name : names) {
    if (!MoveFileReplacing(staging.Path() + "\\" + name, appFolder + "\\" + name)) {
      problem = Explain(key, "cannot move " + name + " into " + appFolder);
      return false;
    }
  }
  update::RecordInstalledVersion(key, version);
  return true;
}

}  // namespace kesto::update
