#include "tools/updater/package_install.h"

#include <cctype>
#include <string>
#include <vector>

#include "runtime/tool_services.h"
#include "shell/builtin_settings.h"
#include "tools/updater/http_fetch.h"
#include "tools/updater/installed_app.h"
#include "tools/updater/signed_release.h"
#include "update/vendor_key.h"

namespace kesto::updater {

namespace {

constexpr const char* kOptionalExtensions[] = {"dat", "gif"};

// Unreserved URL characters stay, every other byte of the UTF-8 key is escaped.
std::string EscapeForUrl(const std::string& utf8) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (unsigned char byte : utf8) {
    if (std::isalnum(byte) || byte == '-' || byte == '_' || byte == '.' || byte == '~') {
      escaped += static_cast<char>(byte);
    } else {
      escaped += {'%', kHex[byte >> 4], kHex[byte & 15]};
    }
  }
  return escaped;
}

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

std::string& OverriddenServer() {
  static std::string server;
  return server;
}

// The package's <key>.qmz and, where the server has them, <key>.dat and <key>.gif; their names,
// the application file's last.
bool FetchPackageFiles(const Text& key, const Text& staging, std::vector<Text>& names,
                       Text& problem) {
  Fetch fetch = FetchToFile(PackageFileUrl(key, "qmz"), staging + "\\" + key + ".qmz");
  if (fetch.result == FetchResult::kNotFound) {
    problem = "服务器上没有应用 " + key;
    return false;
  }
  if (fetch.result == FetchResult::kFailed || fetch.size == 0) {
    problem = Explain(key, fetch.result == FetchResult::kFailed ? fetch.reason : "empty download");
    return false;
  }
  for (const char* extension : kOptionalExtensions) {
    const Text name = key + "." + extension;
    fetch = FetchToFile(PackageFileUrl(key, extension), staging + "\\" + name);
    if (fetch.result == FetchResult::kFailed) {
      problem = Explain(key, fetch.reason);
      return false;
    }
    if (fetch.result == FetchResult::kSaved) names.push_back(name);
  }
  names.push_back(key + ".qmz");
  return true;
}

}  // namespace

void OverridePackageServer(const std::string& server) {
  OverriddenServer() = server;
}

std::string PackageServer() {
  return !OverriddenServer().empty() ? OverriddenServer()
                                     : std::string("http://") + settings::kUpdateHost + ":" +
                                           std::to_string(settings::kUpdatePort);
}

std::string PackageFileUrl(const Text& key, const char* extension) {
  const std::string name = EscapeForUrl(TextToUtf8(key));
  return PackageServer() + "/app/pkg/" + name + "/" + name + "." + extension;
}

bool InstallPackage(const Text& key, Text& problem) {
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
  const bool fetched = update::VendorKey().empty()
                           ? FetchPackageFiles(key, staging.Path(), names, problem)
                           : FetchSignedRelease(key, staging.Path(), names, version, problem);
  if (!fetched) return false;
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
  if (!version.empty()) RecordInstalledVersion(key, version);
  return true;
}

}  // namespace kesto::updater
