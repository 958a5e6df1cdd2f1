// Profile text: split into lines once, then looked up or edited by line.
#include "runtime/profile_text.h"

#include <vector>

#include "runtime/gbk_chars.h"
#include "runtime/profile_store.h"
#include "runtime/tool_services.h"

namespace kesto::profile {

namespace {

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A file that starts with the UTF-8 byte-order mark holds UTF-8, as the Windows calls read it;
// any other holds the program's GBK. Every byte of a UTF-8 character beyond ASCII is 0x80 or
// more, so such text is walked byte by byte.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

struct Body {
  std::string_view mark;  // kept in front of every edit
  std::string_view text;
  bool utf8 = false;
};

Body SplitMark(std::string_view content) {
  if (content.substr(0, kUtf8Mark.size()) != kUtf8Mark) return Body{{}, content, false};
  return Body{kUtf8Mark, content.substr(kUtf8Mark.size()), true};
}

// The program's text spelt as the body spells it.
std::string InBody(const Body& body, const Text& text) {
  return body.utf8 ? TextToUtf8(text) : text;
}

std::size_t CharLength(std::string_view text, std::size_t pos, bool utf8) {
  return utf8 ? 1 : gbk::CharLength(text, pos);
}

// Equal names, ASCII letters folded only where they are whole characters.
bool SameName(std::string_view a, std::string_view b, bool utf8) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    std::size_t length = CharLength(a, i, utf8);
    if (length == 1 ? gbk::FoldAscii(a[i]) != gbk::FoldAscii(b[i])
                    : a.substr(i, length) != b.substr(i, length)) {
      return false;
    }
    i += length;
  }
  return true;
}

enum class LineKind { kBlank, kHeader, kEntry };

struct Line {
  std::size_t begin = 0;  // first byte
  std::size_t end = 0;    // one past the last byte before the line end
  std::size_t next = 0;   // first byte of the next line
  LineKind kind = LineKind::kBlank;
  std::string_view name;   // section or key, trimmed
  std::string_view value;  // after the first "=", trimmed
  bool hasValue = false;   // a key line without "=" names a key that has no value
};

// A line ends at CR LF, at a lone CR or at a lone LF. A "[" line without its "]" is no header
// but a key line of the section before.
std::vector<Line> SplitLines(std::string_view content, bool utf8) {
  std::vector<Line> lines;
  for (std::size_t begin = 0; begin < content.size();) {
    Line line;
    line.begin = begin;
    line.end = begin;
    while (line.end < content.size() && !IsLineEnd(content[line.end])) ++line.end;
    line.next = line.end;
    if (line.next < content.size()) {
      bool pair = content[line.next] == '\r' && line.next + 1 < content.size() &&
                  content[line.next + 1] == '\n';
      line.next += pair ? 2 : 1;
    }
    std::string_view text = Trim(content.substr(begin, line.end - begin));
    std::size_t close = 1;
    if (!text.empty() && text.front() == '[') {
      while (close < text.size() && text[close] != ']') close += CharLength(text, close, utf8);
    }
    if (text.empty()) {
      line.kind = LineKind::kBlank;
    } else if (text.front() == '[' && close < text.size()) {
      line.kind = LineKind::kHeader;
      line.name = Trim(text.substr(1, close - 1));
    } else {
      line.kind = LineKind::kEntry;
      std::size_t equals = text.find('=');
      line.name = Trim(text.substr(0, equals));
      line.hasValue = equals != std::string_view::npos;
      if (line.hasValue) line.value = Trim(text.substr(equals + 1));
    }
    lines.push_back(line);
    begin = line.next;
  }
  return lines;
}

// Lines [header, end) of the first section with the name; nothing when there is none.
struct SectionRange {
  std::size_t header;
  std::size_t end;
};

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, std::string_view name,
                                        bool utf8) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != LineKind::kHeader || !SameName(lines[i].name, name, utf8)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && lines[end].kind != LineKind::kHeader) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, SectionRange section,
                                   std::string_view key, bool utf8) {
  for (std::size_t i = section.header + 1; i < section.end; ++i) {
    if (lines[i].kind == LineKind::kEntry && SameName(lines[i].name, key, utf8)) return i;
  }
  return std::nullopt;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string Splice(std::string_view content, std::size_t from, std::size_t to,
                   std::string_view insert) {
  std::string result;
  result.reserve(content.size() + insert.size());
  result.append(content.substr(0, from));
  result.append(insert);
  result.append(content.substr(to));
  return result;
}

// What goes before a line added after `line`: a CRLF when it is the last line of a file
// without a line end.
std::string_view EnsureLineEnd(const Line& line) {
  return line.next == line.end ? "\r\n" : "";
}

// Edit on the text after any byte-order mark, with names and value spelt as that text is.
std::optional<std::string> EditBody(std::string_view content, const std::string& section,
                                    const std::optional<std::string>& key,
                                    const std::optional<std::string>& value, bool utf8) {
  auto lines = SplitLines(content, utf8);
  std::string_view sectionName = Trim(section);
  auto range = FindSection(lines, sectionName, utf8);
  if (!key) {
    if (!range) return std::nullopt;
    std::size_t to = range->end < lines.size() ? lines[range->end].begin : content.size();
    return Splice(content, lines[range->header].begin, to, "");
  }
  std::string_view keyName = Trim(*key);
  std::optional<std::size_t> index;
  if (range) index = FindKey(lines, *range, keyName, utf8);
  if (!value) {
    if (!index) return std::nullopt;
    return Splice(content, lines[*index].begin, lines[*index].next, "");
  }
  if (index) {
    // The line keeps its own line end and the key keeps its spelling.
    const Line& line = lines[*index];
    std::string entry = std::string(line.name) + "=" + *value;
    if (content.substr(line.begin, line.end - line.begin) == entry) return std::nullopt;
    return Splice(content, line.begin, line.end, entry);
  }
  std::string entry = std::string(keyName) + "=" + *value + "\r\n";
  if (range) {
    std::size_t last = range->header;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
      if (lines[i].kind != LineKind::kBlank) last = i;
    }
    const Line& after = lines[last];
    return Splice(content, after.next, after.next, std::string(EnsureLineEnd(after)) + entry);
  }
  std::string added = lines.empty() ? "" : std::string(EnsureLineEnd(lines.back()));
  added += "[" + std::string(sectionName) + "]\r\n" + entry;
  return Splice(content, content.size(), content.size(), added);
}

}  // namespace

std::optional<Text> Lookup(std::string_view content, const Text& section, const Text& key) {
  Body body = SplitMark(content);
  auto lines = SplitLines(body.text, body.utf8);
  auto range = FindSection(lines, Trim(InBody(body, section)), body.utf8);
  if (!range) return std::nullopt;
  auto index = FindKey(lines, *range, Trim(InBody(body, key)), body.utf8);
  if (!index || !lines[*index].hasValue) return std::nullopt;
  std::string_view value = Unquote(lines[*index].value);
  return body.utf8 ? Utf8ToText(std::string(value)) : Text(value);
}

std::optional<std::string> Edit(std::string_view content, const Text& section,
                                const std::optional<Text>& key, const std::optional<Text>& value) {
  Body body = SplitMark(content);
  auto edited = EditBody(body.text, InBody(body, section),
                         key ? std::optional(InBody(body, *key)) : std::nullopt,
                         value ? std::optional(InBody(body, *value)) : std::nullopt, body.utf8);
  if (!edited) return std::nullopt;
  return std::string(body.mark) + *edited;
}

}  // namespace kesto::profile
