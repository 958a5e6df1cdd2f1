// Message boxes: the buttons, icon and modality of the flags, the pressed button as the result.
#include <gtk/gtk.h>

#include <cstdio>
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

int RunMessageBox(const Text& text, const Text& caption, int flags) {
  const std::vector<ButtonSpec> buttons = ButtonsOf(flags);
  const IconSpec icon = IconOf(flags);
  GtkWidget* dialog =
      gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, icon.type, GTK_BUTTONS_NONE, "%s",
                             posix::GbkToUtf8(ReplaceText(text, "\r\n", "\n")).c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), posix::GbkToUtf8(caption).c_str());
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  gtk::UseCloseBoxOnly(GTK_WINDOW(dialog));
  ShowIcon(dialog, icon.iconName);
  if (flags & kMbSystemModal) gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  for (const ButtonSpec& b : buttons) {
    gtk_dialog_add_button(GTK_DIALOG(dialog), posix::GbkToUtf8(b.caption).c_str(), b.result);
  }
  // The first button is the default and has the focus, so Enter presses it.
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), buttons.front().result);
  gtk_widget_grab_focus(
      gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), buttons.front().result));
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  return response >= 0 ? response : ClosedResult(buttons);
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
  int result = kIdOk;
  gtk::RunOnUiThread([&] { result = RunMessageBox(text, caption, flags); });
  return result;
}

}  // namespace kesto::toolkit
