// Message boxes: the buttons, icon and modality of the flags, the pressed button as the result.
#include <gtk/gtk.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <vector>

#include "runtime/gtk/ui_thread.h"
#include "runtime/gtk/window_frame.h"
#include "runtime/posix/native_text.h"
#include "runtime/toolkit.h"

namespace kesto::toolkit {

namespace {

constexpr int kButtonMask = 0xF;
constexpr int kIconMask = 0xF0;
constexpr int kIconQuestion = 0x20;
constexpr int kIconExclamation = 0x30;

struct ButtonSpec {
  const char* caption;
  int result;
};

std::vector<ButtonSpec> ButtonsOf(int flags) {
  const ButtonSpec ok{"确定", kIdOk}, cancel{"取消", kIdCancel}, abort{"中止", kIdAbort},
      retry{"重试", kIdRetry}, ignore{"忽略", kIdIgnore}, yes{"是", kIdYes}, no{"否", kIdNo};
  switch (flags & kButtonMask) {
    case 1:
      return {ok, cancel};
    case 2:
      return {abort, retry, ignore};
    case 3:
      return {yes, no, cancel};
    case 4:
      return {yes, no};
    case 5:
      return {retry, cancel};
    default:
      return {ok};
  }
}

struct IconSpec {
  GtkMessageType type;
  const char* iconName;  // nullptr: no icon
};

IconSpec IconOf(int flags) {
  switch (flags & kIconMask) {
    case kMbIconStop:
      return {GTK_MESSAGE_ERROR, "dialog-error"};
    case kIconQuestion:
      return {GTK_MESSAGE_QUESTION, "dialog-question"};
    case kIconExclamation:
      return {GTK_MESSAGE_WARNING, "dialog-warning"};
    case kMbIconInformation:
      return {GTK_MESSAGE_INFO, "dialog-information"};
    default:
      return {GTK_MESSAGE_OTHER, nullptr};
  }
}

// GTK no longer draws the type's icon by itself; the boxes show theirs as Windows does.
void ShowIcon(GtkWidget* dialog, const char* iconName) {
  if (!iconName) return;
  GtkWidget* image = gtk_image_new_from_icon_name(iconName, GTK_ICON_SIZE_DIALOG);
  gtk_widget_show(image);
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(dialog), image);
  G_GNUC_END_IGNORE_DEPRECATIONS
}

// Closing the box counts as Cancel where there is one, otherwise as the only or last button.
int ClosedResult(const std::vector<ButtonSpec>& buttons) {
  for (const ButtonSpec& b : buttons) {
    if (b.result == kIdCancel) return kIdCancel;
  }
  return buttons.back().result;
}

// The box with its buttons, icon and caption; the first button is the default and has the
// focus, so Enter presses it.
GtkWidget* NewMessageBox(const Text& text, const Text& caption, int flags,
                         const std::vector<ButtonSpec>& buttons, GtkDialogFlags modality) {
  const IconSpec icon = IconOf(flags);
  GtkWidget* dialog =
      gtk_message_dialog_new(nullptr, modality, icon.type, GTK_BUTTONS_NONE, "%s",
                             posix::GbkToUtf8(ReplaceText(text, "\r\n", "\n")).c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), posix::GbkToUtf8(caption).c_str());
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  gtk::UseCloseBoxOnly(GTK_WINDOW(dialog));
  ShowIcon(dialog, icon.iconName);
  if (flags & kMbSystemModal) gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  for (const ButtonSpec& b : buttons) {
    gtk_dialog_add_button(GTK_DIALOG(dialog), posix::GbkToUtf8(b.caption).c_str(), b.result);
  }
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), buttons.front().result);
  gtk_widget_grab_focus(
      gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), buttons.front().result));
  return dialog;
}

int ResultOf(int response, const std::vector<ButtonSpec>& buttons) {
  return response >= 0 ? response : ClosedResult(buttons);
}

// On the user-interface thread: modal to the program, as the caller's handler waits for it.
int RunModalBox(const Text& text, const Text& caption, int flags) {
  const std::vector<ButtonSpec> buttons = ButtonsOf(flags);
  GtkWidget* dialog = NewMessageBox(text, caption, flags, buttons, GTK_DIALOG_MODAL);
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  return ResultOf(response, buttons);
}

// The answer a box shown for another thread hands back to it.
struct PendingAnswer {
  std::vector<ButtonSpec> buttons;
  std::mutex mutex;
  std::condition_variable answered;
  std::optional<int> result;
};

void OnWorkerBoxResponse(GtkDialog* dialog, int response, gpointer data) {
  auto* pending = static_cast<PendingAnswer*>(data);
  gtk_widget_destroy(GTK_WIDGET(dialog));
  std::lock_guard lock(pending->mutex);
  pending->result = ResultOf(response, pending->buttons);
  pending->answered.notify_one();
}

// For another thread (the update worker): the box blocks only that thread, and the windows go
// on working meanwhile.
int RunWorkerBox(const Text& text, const Text& caption, int flags) {
  PendingAnswer pending;
  pending.buttons = ButtonsOf(flags);
  gtk::PostToUiThread([&] {
    GtkWidget* dialog = NewMessageBox(text, caption, flags, pending.buttons, GtkDialogFlags(0));
    g_signal_connect(dialog, "response", G_CALLBACK(OnWorkerBoxResponse), &pending);
    gtk_window_present(GTK_WINDOW(dialog));
  });
  std::unique_lock lock(pending.mutex);
  pending.answered.wait(lock, [&] { return pending.result.has_value(); });
  return *pending.result;
}

}  // namespace

int MessageBox(const Text& text, const Text& caption, int flags) {
  // Before the toolkit has a display there is no one to ask: the text goes to the error
  // output and the box counts as closed.
  if (!gdk_display_get_default()) {
    std::fprintf(stderr, "%s: %s\n", posix::GbkToUtf8(caption).c_str(),
                 posix::GbkToUtf8(text).c_str());
    return ClosedResult(ButtonsOf(flags));
  }
  return gtk::IsUiThread() ? RunModalBox(text, caption, flags) : RunWorkerBox(text, caption, flags);
}

}  // namespace kesto::toolkit
