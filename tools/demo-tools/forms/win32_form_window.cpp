// The tools' plain window on Win32: static captions and lines, edit boxes for the numbers and
// a multi-line edit box for the text area, laid out in rows by the window's own code.
#include <windows.h>

#include <cwchar>
#include <string>

#include "runtime/win32/wide_text.h"
#include "tools/demo-tools/forms/form_window.h"

namespace kesto::form {

namespace {

constexpr wchar_t kClassName[] = L"KestoToolForm";
constexpr int kBorder = 18;
constexpr int kSpacing = 10;
constexpr int kRowHeight = 24;
constexpr int kBigRowHeight = 44;
constexpr UINT_PTR kTickTimer = 1;

const FormWindow* shownForm = nullptr;
std::vector<HWND> controls;  // one per field, in the form's order
HFONT normalFont = nullptr;
HFONT bigFont = nullptr;
bool filling = false;  // true while the window sets its own boxes: no change to report

std::wstring WindowText(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), text.size())));
  return text;
}

// The text area's lines end with CR LF in the box and with LF in the program's texts.
std::wstring ToBoxText(const Text& text) {
  std::wstring wide;
  for (wchar_t c : win32::ToWide(text)) {
    if (c == L'\n') wide += L'\r';
    if (c != L'\r') wide += c;
  }
  return wide;
}

int RowHeight(FieldKind kind) {
  return kind == FieldKind::kBigLine ? kBigRowHeight : kRowHeight;
}

void Layout(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  const int width = client.right - 2 * kBorder;
  int top = kBorder;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const FieldKind kind = shownForm->fields[i].kind;
    if (kind == FieldKind::kTextArea) {
      MoveWindow(controls[i], kBorder, top, width, client.bottom - kBorder - top, TRUE);
    } else if (kind == FieldKind::kNumber) {
      // The caption sits just before its box, in the left half.
      MoveWindow(GetWindow(controls[i], GW_HWNDPREV), kBorder, top + 3, width / 2 - kSpacing,
                 kRowHeight, TRUE);
      MoveWindow(controls[i], kBorder + width / 2, top, width / 2, kRowHeight, TRUE);
    } else {
      MoveWindow(controls[i], kBorder, top, width, RowHeight(kind), TRUE);
    }
    top += RowHeight(kind) + kSpacing;
  }
}

HWND MakeControl(HWND parent, const wchar_t* type, const std::wstring& text, DWORD style,
                 HFONT font) {
  HWND control = CreateWindowExW(0, type, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                 parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

void MakeControls(HWND window) {
  filling = true;
  for (const Field& field : shownForm->fields) {
    switch (field.kind) {
      case FieldKind::kNumber: {
        MakeControl(window, L"STATIC", win32::ToWide(field.caption), SS_RIGHT, normalFont);
        wchar_t value[64];
        std::swprintf(value, 64, L"%.2f", field.value);
        controls.push_back(
            MakeControl(window, L"EDIT", value, WS_BORDER | WS_TABSTOP | ES_RIGHT, normalFont));
        break;
      }
      case FieldKind::kTextArea:
        controls.push_back(MakeControl(
            window, L"EDIT", ToBoxText(field.text),
            WS_BORDER | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
            normalFont));
        break;
      case FieldKind::kLine:
      case FieldKind::kBigLine:
        controls.push_back(MakeControl(window, L"STATIC", win32::ToWide(field.text), SS_CENTER,
                                       field.kind == FieldKind::kBigLine ? bigFont : normalFont));
        break;
    }
  }
  filling = false;
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      MakeControls(window);
      return 0;
    case WM_SIZE:
      Layout(window);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE && !filling && shownForm->onChange) {
        const HWND box = reinterpret_cast<HWND>(lParam);
        for (std::size_t i = 0; i < controls.size(); ++i) {
          if (controls[i] == box && shownForm->fields[i].kind == FieldKind::kNumber) {
            shownForm->onChange();
          }
        }
      }
      return 0;
    case WM_CTLCOLORSTATIC:  // the captions and lines on the window's own background
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_TIMER:
      if (wParam == kTickTimer && shownForm->onTick) shownForm->onTick();
      return 0;
    case WM_CLOSE:
      if (shownForm->onClose) shownForm->onClose();
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kTickTimer);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

double NumberValue(int field) {
  return std::wcstod(WindowText(controls.at(field)).c_str(), nullptr);
}

Text FieldText(int field) {
  std::wstring wide;
  for (wchar_t c : WindowText(controls.at(field))) {
    if (c != L'\r') wide += c;
  }
  return win32::FromWide(wide);
}

void SetFieldText(int field, const Text& text) {
  filling = true;
  SetWindowTextW(controls.at(field), ToBoxText(text).c_str());
  filling = false;
}

void RunFormWindow(const FormWindow& form, const std::function<void(std::intptr_t)>& shown) {
  shownForm = &form;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = FormProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  normalFont = CreateFontIndirectW(&metrics.lfMessageFont);
  LOGFONTW big = metrics.lfMessageFont;
  big.lfHeight = -28;
  big.lfWeight = FW_BOLD;
  bigFont = CreateFontIndirectW(&big);

  const int left = (GetSystemMetrics(SM_CXSCREEN) - form.width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - form.height) / 2;
  HWND window =
      CreateWindowExW(0, kClassName, win32::ToWide(form.title).c_str(), WS_OVERLAPPEDWINDOW, left,
                      top, form.width, form.height, nullptr, nullptr, instance, nullptr);
  if (form.tickMilliseconds > 0) SetTimer(window, kTickTimer, form.tickMilliseconds, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  shown(reinterpret_cast<std::intptr_t>(window));
  if (form.onShown) form.onShown();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  DeleteObject(normalFont);
  DeleteObject(bigFont);
  controls.clear();
  shownForm = nullptr;
}

}  // namespace kesto::form
