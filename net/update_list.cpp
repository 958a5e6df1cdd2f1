#include "net/update_list.h"

#include "runtime/vendor_signature.h"

namespace kesto::net {

namespace {

// The fields of the first block when there are exactly three; none otherwise.
Array<Text> BlockFields(const Bytes& list) {
  const Text text = ToText(list);
  int open = FindText(text, "[up]");
  if (open == -1) return {};
  int start = open + TextLength("[up]");
  int close = FindText(text, "[/up]", start);
  if (close == -1) return {};
  Array<Text> fields = SplitText(MidText(text, start, close - start), "|");
  return fields.Count() == 3 ? fields : Array<Text>{};
}

}  // namespace

Text UpdaterAddressFromList(const Bytes& list) {
  Array<Text> fields = BlockFields(list);
  return fields.Count() == 3 ? fields[3] : Text{};
}

Bytes UpdaterSignatureFromList(const Bytes& list) {
  Array<Text> fields = BlockFields(list);
  if (fields.Count() != 3) return {};
  return crypto::BytesFromHex(fields[2]).value_or(Bytes{});
}

}  // namespace kesto::net
