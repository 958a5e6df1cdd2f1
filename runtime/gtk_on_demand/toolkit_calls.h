// The calls the GTK toolkit answers for the programs that load it only when they first need it
// (the platform and the updater): one list, from which the toolkit's module makes its table and
// the program its stand-ins for the calls.
#pragma once

#include <functional>

#include "runtime/core.h"
#include "runtime/native.h"
#include "runtime/ui.h"

// CALL(namespace, name, result, parameters, arguments) for each call that loads the toolkit
// when it comes before any other.
#define KESTO_WINDOW_CALLS(CALL)                                                                  \
  CALL(toolkit, MessageBox, int, (const Text& text, const Text& caption, int flags),              \
       (text, caption, flags))                                                                    \
  CALL(toolkit, PostToUiThread, void, (std::function<void()> work), (std::move(work)))            \
  CALL(ui, GetProperty, ui::Value, (const ui::Ref& ref, int index), (ref, index))                 \
  CALL(ui, SetProperty, void, (const ui::Ref& ref, int index, const ui::Value& value),            \
       (ref, index, value))                                                                       \
  CALL(ui, LoadWindow, bool, (const Text& window), (window))                                      \
  CALL(ui, CloseWindow, void, (const Text& window), (window))                                     \
  CALL(ui, NativeHandle, std::intptr_t, (const ui::Ref& ref), (ref))                              \
  CALL(ui, FocusControl, void, (const ui::Ref& ref), (ref))                                       \
  CALL(ui, PopupMenu, void,                                                                       \
       (const Text& window, const Text& menu, std::optional<int> x, std::optional<int> y),        \
       (window, menu, x, y))                                                                      \
  CALL(ui, SetTrayIcon, void,                                                                     \
       (const Text& window, std::optional<Bytes> icon, std::optional<Text> tip),                  \
       (window, std::move(icon), std::move(tip)))                                                 \
  CALL(ui, TrayAvailable, bool, (), ())                                                           \
  CALL(ui, ListItemCount, int, (const ui::Ref& list), (list))                                     \
  CALL(ui, ListDeleteAll, void, (const ui::Ref& list), (list))                                    \
  CALL(ui, ListInsertItem, int,                                                                   \
       (const ui::Ref& list, std::optional<int> position, const Text& caption, int iconIndex,     \
        std::optional<int> stateImageIndex, std::optional<int> indent,                            \
        std::optional<int> itemValue),                                                            \
       (list, position, caption, iconIndex, stateImageIndex, indent, itemValue))                  \
  CALL(ui, ImageListCreate, Bytes, (int width, int height), (width, height))                      \
  CALL(ui, ImageListAdd, int,                                                                     \
       (Bytes & imageList, const Bytes& picture, std::optional<std::uint32_t> transparent),       \
       (imageList, picture, transparent))                                                         \
  CALL(ui, Execute, void, (const ui::Ref& box, int command), (box, command))                      \
  CALL(native, IsWindowVisible, bool, (native::Handle window), (window))                          \
  CALL(native, IsIconic, bool, (native::Handle window), (window))                                 \
  CALL(native, ShowWindowAsync, void, (native::Handle window, int command), (window, command))    \
  CALL(native, OpenIcon, void, (native::Handle window), (window))                                 \
  CALL(native, SetForegroundWindow, void, (native::Handle window), (window))                      \
  CALL(native, ShowWindow, void, (native::Handle window, int command), (window, command))         \
  CALL(native, BringWindowToTop, void, (native::Handle window), (window))                         \
  CALL(native, GetWindowRect, bool, (native::Handle window, native::Rect & rect), (window, rect)) \
  CALL(native, SetRoundWindowOutline, void,                                                       \
       (native::Handle window, int width, int height, int radius),                                \
       (window, width, height, radius))                                                           \
  CALL(native, PostMessage, void,                                                                 \
       (native::Handle window, unsigned message, std::intptr_t wParam, std::intptr_t lParam),     \
       (window, message, wParam, lParam))

// The calls a program without windows answers itself, and hands on once the toolkit is there.
#define KESTO_FRAME_CALLS(CALL)                                     \
  CALL(toolkit, Start, void, (int argc, char** argv), (argc, argv)) \
  CALL(toolkit, OnUiThread, bool, (), ())                           \
  CALL(toolkit, ProcessEvents, void, (), ())                        \
  CALL(toolkit, RunMessageLoop, void, (), ())                       \
  CALL(toolkit, EndProcess, void, (int exitCode), (exitCode))

namespace kesto::gtk_on_demand {

#define KESTO_TOOLKIT_CALL_MEMBER(space, name, result, parameters, arguments) \
  result(*space##_##name) parameters;
// The module's table: a member a call, named namespace_name.
struct ToolkitCalls {
  KESTO_FRAME_CALLS(KESTO_TOOLKIT_CALL_MEMBER)
  KESTO_WINDOW_CALLS(KESTO_TOOLKIT_CALL_MEMBER)
};
#undef KESTO_TOOLKIT_CALL_MEMBER

// The one name the module gives the program.
constexpr char kTableFunction[] = "kesto_toolkit_calls";
using TableFunction = const ToolkitCalls* (*)();

}  // namespace kesto::gtk_on_demand
