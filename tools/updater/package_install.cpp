#include "tools/updater/package_install.h"

#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "runtime/posix/native_text.h"
#include "shell/builtin_settings.h"
#include "tools/updater/http_fetch.h"
#include "tools/updater/installed_app.h"

namespace kesto::updater {

namespace fs = std::filesystem;

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
  explicit StagingFolder(fs::path path) : path_(std::move(path)) {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
    created_ = fs::create_directory(path_, ignored);
  }
  ~StagingFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  bool Created() const { return created_; }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
  bool created_ = false;
};

Text Explain(const Text& key, const std::string& reason) {
  return "无法安装应用 " + key + "：" + posix::Utf8ToGbk(reason);
}

std::string& OverriddenServer() {
  static std::string server;
  return server;
}

}  // namespace

void OverridePackageServer(const std::string& server) {
  OverriddenServer() = server;
}

std::string PackageFileUrl(const Text& key, const char* extension) {
  const std::string name = EscapeForUrl(posix::GbkToUtf8(key));
  const std::string server = !OverriddenServer().empty()
                                 ? OverriddenServer()
                                 : std::string("http://") + settings::kUpdateHost + ":" +
                                       std::to_string(settings::kUpdatePort);
  return server + "/app/pkg/" + name + "/" + name + "." + extension;
}

bool InstallPackage(const Text& key, Text& problem) {
  const auto programFolder = posix::ToNativePath(CurrentDirectory());
  const auto fileName = posix::ToNativePath(key);
  const auto appFolder = posix::ToNativePath(AppFolder() + "\\" + key);
  if (!programFolder || !fileName || !appFolder) {
    problem = Explain(key, "the name cannot be a file name here");
    return false;
  }
  // Beside the app folder, not in it: the platform's list must not see a half-fetched package.
  StagingFolder staging(fs::path(*programFolder) /
                        (".up-" + *fileName + "-" + std::to_string(getpid())));
  if (!staging.Created()) {
    problem = Explain(key, "cannot create " + staging.Path().string());
    return false;
  }

  const fs::path program = staging.Path() / (*fileName + ".qmz");
  Fetch fetch = FetchToFile(PackageFileUrl(key, "qmz"), program.string());
  if (fetch.result == FetchResult::kNotFound) {
    problem = "服务器上没有应用 " + key;
    return false;
  }
  std::error_code error;
  if (fetch.result == FetchResult::kFailed || fs::file_size(program, error) == 0) {
    problem = Explain(key, fetch.result == FetchResult::kFailed ? fetch.reason : "empty download");
    return false;
  }
  std::vector<fs::path> files;
  for (const char* extension : kOptionalExtensions) {
    const fs::path file = staging.Path() / (*fileName + "." + extension);
    fetch = FetchToFile(PackageFileUrl(key, extension), file.string());
    if (fetch.result == FetchResult::kFailed) {
      problem = Explain(key, fetch.reason);
      return false;
    }
    if (fetch.result == FetchResult::kSaved) files.push_back(file);
  }
  files.push_back(program);
  fs::permissions(program,
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec,
                  error);

  fs::create_directories(*appFolder, error);
  for (const fs::path& file : files) {
    fs::rename(file, fs::path(*appFolder) / file.filename(), error);
    if (error) {
      problem = Explain(key, "cannot move " + file.filename().string() + " into " + *appFolder +
                                 ": " + error.message());
      return false;
    }
  }
  return true;
}

}  // namespace kesto::updater
