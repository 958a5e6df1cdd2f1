// A plain window for the small tools beside the platform: a title and a column of fields laid
// out top to bottom. The tools describe it once; each toolkit back end shows it with its own
// widgets. Texts are GBK.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "runtime/core.h"

namespace kesto::form {

enum class FieldKind {
  kNumber,    // a captioned number box with two decimals, 0 to 1000000
  kLine,      // a read-only line of text, centred
  kBigLine,   // the same in a large bold font
  kTextArea,  // an editable text that takes the room left, wrapping its lines
};

struct Field {
  FieldKind kind = FieldKind::kLine;
  Text caption;  // kNumber: the caption in front of the box
  Text text;     // kLine, kBigLine, kTextArea: the first content
  double value = 0;
  double step = 1;

  static Field Number(const Text& caption, double value, double step) {
    return {FieldKind::kNumber, caption, "", value, step};
  }
  static Field Line(FieldKind kind = FieldKind::kLine) { return {kind, "", "", 0, 1}; }
  static Field TextArea(const Text& text) { return {FieldKind::kTextArea, "", text, 0, 1}; }
};

struct FormWindow {
  Text title;
  int width = 0;
  int height = 0;
  std::vector<Field> fields;
  std::function<void()> onShown;   // once the window is up, before the user acts
  std::function<void()> onChange;  // after a number box changed
  int tickMilliseconds = 0;        // 0: no ticks
  std::function<void()> onTick;
  std::function<void()> onClose;  // when a close request arrives, before the window goes
};

// While the window is shown, fields are named by their index in `fields`.
double NumberValue(int field);
Text FieldText(int field);
void SetFieldText(int field, const Text& text);

// Shows the window centred, hands its native handle (the same kind native::Handle names) to
// `shown`, and returns when the window has closed.
void RunFormWindow(const FormWindow& window, const std::function<void(std::intptr_t)>& shown);

}  // namespace kesto::form
