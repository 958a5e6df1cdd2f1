// Another program's window for the conformance scenarios: a plain top-level window of 300 x 200
// with the title it is given. It writes the window's handle into the file named by its first
// argument and lives until the window is closed, ending with exit code 0 then.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

LRESULT CALLBACK PeerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  WNDCLASSW type{};
  type.lpfnWndProc = PeerProcedure;
  type.hInstance = GetModuleHandleW(nullptr);
  type.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  type.lpszClassName = L"KestoTestPeer";
  RegisterClassW(&type);
  const std::string title = argv[2];
  HWND window = CreateWindowExW(
      0, type.lpszClassName, std::wstring(title.begin(), title.end()).c_str(), WS_OVERLAPPEDWINDOW,
      100, 100, 300, 200, nullptr, nullptr, type.hInstance, nullptr);
  if (!window) return 3;
  ShowWindow(window, SW_SHOWNORMAL);
  if (std::FILE* out = std::fopen(argv[1], "w")) {
    std::fprintf(out, "%lld\n", static_cast<long long>(reinterpret_cast<std::intptr_t>(window)));
    std::fclose(out);
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
