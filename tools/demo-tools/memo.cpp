// 店铺备忘录: a note pad whose text stays in the tool's own folder between runs.
#include "runtime/tool_services.h"
#include "tools/demo-tools/tool_window.h"

namespace {

using kesto::Text;

// In the tool's own folder, which the runtime makes the current directory. UTF-8, so the
// memo reads the same whichever system wrote it.
Text MemoFile() {
  return kesto::CurrentDirectory() + "\\memo.txt";
}

Text SavedMemo() {
  const kesto::Bytes saved = kesto::ReadFileBytes(MemoFile());
  const std::optional<Text> text = kesto::Utf8ToTextExact(std::string(saved.begin(), saved.end()));
  return saved.empty() || !text ? "今日待办：\n1. 上新三款夏装\n2. 回复买家留言\n" : *text;
}

// Written beside the memo and renamed over it, so a close never leaves half a memo.
void SaveMemo() {
  const std::string utf8 = kesto::TextToUtf8(kesto::form::FieldText(0));
  const Text written = MemoFile() + ".new";
  if (!kesto::WriteFileBytes(written, {kesto::Bytes(utf8.begin(), utf8.end())}) ||
      !kesto::MoveFileReplacing(written, MemoFile())) {
    kesto::ShowMessage("备忘录无法保存：" + MemoFile(), kesto::kMbIconStop, "店铺备忘录");
  }
}

}  // namespace

int main(int argc, char** argv) {
  kesto::form::FormWindow window;
  window.title = "店铺备忘录";
  window.width = 420;
  window.height = 320;
  window.fields = {kesto::form::Field::TextArea(SavedMemo())};
  window.onClose = SaveMemo;
  kesto::demo::RunToolWindow(argc, argv, window);
}
