#include "shell/platform_info.h"

#include "shell/builtin_settings.h"
#include "shell/globals.h"
#include "shell/platform_info_file.h"

namespace kesto::shell {
namespace {

// The file nearest the program folder: the folder itself, its parent, its grandparent.
Text FindPlatformFile() {
  const Text folder = CurrentDirectory();
  const Text parent = ParentFolder(folder);
  for (const Text& candidate : {folder, parent, ParentFolder(parent)}) {
    const Text path = candidate + "\\reg.qmz";
    if (FileExists(path)) return path;
  }
  return "";
}

void ApplyDefaults(Array<Text>& info) {
  info[kServiceNumber] = "4702519";
  info[kCompanyName] = "Pelun软件";
  info[kWebSite] = settings::kWebHost;
  info[kPurchasePage] = settings::kPaySite;
  info[kAdPage] = Text("http://") + settings::kWebHost + "/ad/";
}

}  // namespace

Text ParentFolder(const Text& path) {
  const Text normalised = ReplaceText(path, "/", "\\");
  const int cut = FindLastText(normalised, "\\");
  return cut == -1 ? normalised : LeftText(normalised, cut - 1);
}

bool LoadPlatformInfo() {
  const Text path = FindPlatformFile();
  if (path.empty()) return false;
  const PlatformFile file = ReadPlatformFile(ReadFileBytes(path));
  ApplyDefaults(PlatformInfo);
  switch (file.state) {
    case PlatformFileState::kNotEnciphered:
      return true;
    case PlatformFileState::kFields:
      for (int i = 1; i <= kPlatformFieldCount; ++i) PlatformInfo[i] = file.fields[i];
      return true;
    case PlatformFileState::kNotTwoPieces:
    case PlatformFileState::kPayloadTooLarge:
    case PlatformFileState::kTooFewFields:
      break;
  }
  return false;
}

}  // namespace kesto::shell
