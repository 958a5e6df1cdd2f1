// Profile text: split into lines once, then looked up or edited by line.
#include "runtime/posix/profile_text.h"

#include <vector>

#include "runtime/gbk_chars.h"

namespace kesto::posix::profile {

namespace {

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Equal names, ASCII letters folded only where they are whole characters.
bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && gbk::MatchesAt(a, 0, b, true);
}

enum class LineKind { kBlank, kHeader, kEntry };

struct Line {
  std::size_t begin = 0;  // first byte
  std::size_t end = 0;    // one past the last byte before the line end
  std::size_t next = 0;   // first byte of the next line
  LineKind kind = LineKind::kBlank;
  std::string_view name;   // section or key, trimmed
  std::string_view value;  // after the first "=", trimmed
};

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  for (std::size_t begin = 0; begin < content.size();) {
    std::size_t newline = content.find('\n', begin);
    Line line;
    line.begin = begin;
    line.next = newline == std::string_view::npos ? content.size() : newline + 1;
    line.end = newline == std::string_view::npos ? content.size() : newline;
    if (line.end > begin && content[line.end - 1] == '\r') --line.end;
    std::string_view text = Trim(content.substr(begin, line.end - begin));
    if (text.empty()) {
      line.kind = LineKind::kBlank;
    } else if (text.front() == '[') {
      line.kind = LineKind::kHeader;
      std::size_t close = 1;
      while (close < text.size() && text[close] != ']') close += gbk::CharLength(text, close);
      line.name = Trim(text.substr(1, close - 1));
    } else {
      line.kind = LineKind::kEntry;
      std::size_t equals = text.find('=');
      line.name = Trim(text.substr(0, equals));
      if (equals != std::string_view::npos) line.value = Trim(text.substr(equals + 1));
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

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, std::string_view name) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != LineKind::kHeader || !SameName(lines[i].name, name)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && lines[end].kind != LineKind::kHeader) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, SectionRange section,
                                   std::string_view key) {
  for (std::size_t i = section.header + 1; i < section.end; ++i) {
    if (lines[i].kind == LineKind::kEntry && SameName(lines[i].name, key)) return i;
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

}  // namespace

std::optional<Text> Lookup(std::string_view content, const Text& section, const Text& key) {
  auto lines = SplitLines(content);
  auto range = FindSection(lines, Trim(section));
  if (!range) return std::nullopt;
  auto index = FindKey(lines, *range, Trim(key));
  if (!index) return std::nullopt;
  return Text(Unquote(lines[*index].value));
}

std::optional<std::string> Edit(std::string_view content, const Text& section,
                                const std::optional<Text>& key, const std::optional<Text>& value) {
  auto lines = SplitLines(content);
  std::string_view sectionName = Trim(section);
  auto range = FindSection(lines, sectionName);
  if (!key) {
    if (!range) return std::nullopt;
    std::size_t to = range->end < lines.size() ? lines[range->end].begin : content.size();
    return Splice(content, lines[range->header].begin, to, "");
  }
  std::string_view keyName = Trim(*key);
  std::optional<std::size_t> index;
  if (range) index = FindKey(lines, *range, keyName);
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

}  // namespace kesto::posix::profile
