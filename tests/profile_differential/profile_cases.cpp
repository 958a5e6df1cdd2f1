// Runs one generated set of profile-file cases through the build's profile calls (case_calls.h)
// and prints each case as one line: "<number> <kind> <outcome in hex> <file in hex>". Built in
// every kind of build, so that the outcomes of one back end can be compared with another's.
// Each case starts from a file content and applies one operation. The outcome of a read is the
// value read; the outcome of a write is whether it was taken and what every reader of the file
// then sees under a fixed set of names. The file's bytes afterwards are given as well.
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/core.h"
#include "tests/profile_differential/case_calls.h"

namespace kesto {
namespace {

struct Content {
  const char* kind;  // what the content tries; differences are reported by it
  Text text;
};

struct Operation {
  const char* kind;
  bool write;
  Text section;
  std::optional<Text> key;
  std::optional<Text> value;  // for a read: the default
};

const Text kGbk = "\xD6\xD0\xCE\xC4";  // two two-byte characters
// Two-byte letters with a case: full-width a, alpha, Cyrillic a, small Roman one; and capitals.
const Text kGbkSmall = "\xA3\xE1\xA6\xC1\xA7\xD1\xA2\xA1";
const Text kGbkCapital = "\xA3\xC1\xA6\xA1\xA7\xA1\xA2\xF1";

std::vector<Content> Contents() {
  return {
      {"empty", ""},
      {"plain-crlf", "[jb]\r\npt=1\r\nqt=2\r\n[wm]\r\nrun=pt\r\n"},
      {"lf-only", "[jb]\npt=1\nqt=2\n[wm]\nrun=pt\n"},
      {"cr-only", "[jb]\rpt=1\rqt=2\r[wm]\rrun=pt\r"},
      {"spacing", "  [ jb ]  \r\n  pt  =  1  \r\n\tqt\t=\t2\t\r\n"},
      {"quotes", "[jb]\r\npt=\"  1  \"\r\nqt='2'\r\nrt=\"3\r\nst=\"\"\r\n"},
      {"comments", "; note\r\n[jb]\r\n;pt=0\r\npt=1\r\n# qt=9\r\nqt=2\r\n"},
      {"case", "[JB]\r\nPT=1\r\n[Wm]\r\nRun=pt\r\n"},
      {"duplicates", "[jb]\r\npt=1\r\npt=9\r\n[wm]\r\nrun=a\r\n[jb]\r\nqt=2\r\n"},
      {"open-header", "[jb\r\npt=1\r\n[wm]\r\nrun=pt\r\n"},
      {"no-equals", "[jb]\r\npt\r\nqt=2\r\njust words\r\n"},
      {"byte-order-mark", "\xEF\xBB\xBF[jb]\r\npt=1\r\n"},
      {"empty-names", "[]\r\n=1\r\n[jb]\r\n=2\r\npt=\r\n"},
      {"before-section", "pt=0\r\n[jb]\r\npt=1\r\n"},
      {"no-final-line-end", "[jb]\r\npt=1\r\n[wm]\r\nrun=pt"},
      {"gbk-names", "[" + kGbk + "]\r\n" + kGbk + "=" + kGbk + "\r\n"},
      {"gbk-letter-case", "[" + kGbkSmall + "]\r\n" + kGbkSmall + "=1\r\n"},
      {"long-value", "[jb]\r\npt=" + Text(10300, 'v') + "\r\n"},
  };
}

std::vector<Operation> Operations() {
  return {
      {"read", false, "jb", "pt", "d"},
      {"read", false, "jb", "qt", "d"},
      {"read", false, "JB", "Pt", "d"},
      {"read", false, "wm", "run", ""},
      {"read", false, "jb", "missing", "  fallback  "},
      {"read", false, "missing", "pt", "d"},
      {"read", false, kGbk, kGbk, "d"},
      {"read", false, kGbkCapital, kGbkCapital, "d"},
      {"read", false, "jb", "", "d"},
      {"write", true, "jb", "pt", "new"},
      {"write", true, "jb", "new", "v"},
      {"write", true, "wm", "run", "  spaced  "},
      {"write", true, "new", "pt", "v"},
      {"write", true, kGbk, kGbk, "v" + kGbk},
      {"write", true, kGbkCapital, kGbkCapital, "v"},
      {"write", true, "jb", "pt", ""},
      {"write", true, "jb", "pt", Text(300, 'w')},
      {"remove-key", true, "jb", "pt", std::nullopt},
      {"remove-section", true, "jb", std::nullopt, std::nullopt},
      {"refused-write", true, "jb", "pt", "a\r\nb"},
      {"refused-write", true, "j]b", "pt", "v"},
  };
}

std::string Hex(const Text& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out.empty() ? "-" : out;
}

// The values under the names the cases use, as any reader of the file sees them.
Text ReadersView(const Text& file) {
  Text view;
  for (const Text& section : {Text("jb"), Text("wm"), Text("new"), kGbk, kGbkSmall}) {
    for (const Text& key : {Text("pt"), Text("qt"), Text("new"), Text("run"), kGbk, kGbkSmall}) {
      view += "|" + CaseRead(file, section, key, "<none>");
    }
  }
  return view;
}

Text Outcome(const Text& file, const Content& content, const Operation& operation) {
  WriteFileBytes(file, {ToBytes(content.text)});
  if (!operation.write) {
    return CaseRead(file, operation.section, *operation.key, *operation.value);
  }
  bool taken = CaseWrite(file, operation.section, operation.key, operation.value);
  return Text(taken ? "taken" : "refused") + ReadersView(file);
}

}  // namespace
}  // namespace kesto

int main(int argc, char** argv) {
  using namespace kesto;
  RuntimeStart(argc, argv);
  Text file = CurrentDirectory() + "\\profile-case.ini";
  int number = 0;
  for (const Content& content : Contents()) {
    for (const Operation& operation : Operations()) {
      Text outcome = Outcome(file, content, operation);
      Text bytes = operation.write ? ToText(ReadFileBytes(file)) : Text{};
      std::printf("%d %s/%s %s %s\n", ++number, content.kind, operation.kind, Hex(outcome).c_str(),
                  Hex(bytes).c_str());
    }
  }
  return 0;
}
