#include "net/update_list.h"

namespace kesto::net {

Text UpdaterAddressFromList(const Bytes& list) {
  const Text text = ToText(list);
  int open = FindText(text, "[up]");
  if (open == -1) return {};
  int start = open + TextLength("[up]");
  int close = FindText(text, "[/up]", start);
  if (close == -1) return {};
  Array<Text> fields = SplitText(MidText(text, start, close - start), "|");
  return fields.Count() == 3 ? fields[3] : Text{};
}

}  // namespace kesto::net
