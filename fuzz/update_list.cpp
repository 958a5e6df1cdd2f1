// The update list's "[up]" block: the updater's address is empty or the third of three fields
// inside the first block, as the list spells it.
#include "net/update_list.h"

#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kesto::Bytes list(data, data + size);
  const kesto::Text address = kesto::net::UpdaterAddressFromList(list);
  if (address.empty()) return 0;
  const kesto::Text text = kesto::ToText(list);
  int open = kesto::FindText(text, "[up]");
  FUZZ_CHECK(open != -1);
  int close = kesto::FindText(text, "[/up]", open + 4);
  FUZZ_CHECK(close != -1);
  kesto::Text block = kesto::MidText(text, open + 4, close - open - 4);
  FUZZ_CHECK(kesto::FindText(address, "|") == -1);
  // A last empty field is no field: "a|b|c|" holds three.
  if (kesto::FindLastText(block, "|") == kesto::TextLength(block)) block.pop_back();
  FUZZ_CHECK(kesto::RightText(block, address.size()) == address);
  FUZZ_CHECK(kesto::SplitText(block, "|").Count() == 3);
  return 0;
}
