#include "shell/settings_folder.h"

#include "runtime/core.h"
#include "runtime/program_folder.h"
#include "shell/globals.h"

namespace kesto::shell {

void AdoptMisplacedSettings() {
  AdoptVirtualStoreCopy(AppConfig->UpdateConfigPath());
}

void WarnWhenFolderUnwritable() {
  const Text folder = CurrentDirectory();
  if (FolderWritable(folder)) return;
  ShowMessage("平台所在的文件夹不能写入，你的设置和添加的应用都无法保存：\r\n" + folder +
                  "\r\n\r\n请把平台安装到其他文件夹（例如 D:\\Kesto）后再使用",
              kMbIconStop, "文件夹无法写入");
}

}  // namespace kesto::shell
