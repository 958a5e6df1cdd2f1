// regtool: makes a reg.qmz for the platform from six values, or reads one back.
#include <cstdio>
#include <string>

#include "runtime/tool_services.h"
#include "runtime/user_files.h"
#include "shell/platform_info_file.h"
#include "tools/regtool/platform_file_writer.h"

namespace {

using kesto::Text;

constexpr const char* kFieldNames[] = {"ServiceNumber", "CompanyName", "WebSite",
                                       "PurchasePage",  "AdPage",      "SpareField"};

constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

int Usage(std::FILE* to, int exitCode) {
  std::fputs(
      "usage: regtool write FILE SERVICE-NUMBER COMPANY-NAME WEB-SITE PURCHASE-PAGE AD-PAGE "
      "SPARE-FIELD\n"
      "       regtool read FILE\n"
      "\n"
      "write  makes FILE (a reg.qmz) from the six values, replacing it whole.\n"
      "read   prints the six values of FILE as NAME=VALUE lines, or says why the platform\n"
      "       cannot use them.\n"
      "Values are UTF-8 on the command line and in the output; the file holds them in GBK.\n",
      to);
  return exitCode;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "regtool: %s\n", message.c_str());
  return kFailed;
}

int Write(const std::string& path, const std::string* values) {
  kesto::Array<Text> fields;
  for (int i = 0; i < kesto::shell::kPlatformFieldCount; ++i) {
    const std::optional<Text> gbk = kesto::Utf8ToTextExact(values[i]);
    if (!gbk) {
      return Fail(std::string(kFieldNames[i]) + " is not UTF-8 text that GBK can hold");
    }
    fields.Append(*gbk);
  }
  Text problem;
  const std::optional<kesto::Bytes> bytes = regtool::MakePlatformFile(fields, problem);
  if (!bytes) return Fail("cannot make " + path + ": " + kesto::TextToUtf8(problem));
  std::string error;
  if (!kesto::ReplaceUserFile(path, *bytes, error)) return Fail(error);
  return 0;
}

std::string WhyUnusable(const kesto::Bytes& bytes, kesto::shell::PlatformFileState state) {
  using kesto::shell::PlatformFileState;
  switch (state) {
    case PlatformFileState::kNotTwoPieces:
      if (bytes.empty()) return "the file is empty";
      return std::string("the file does not split into a flag and a payload at \"") +
             kesto::shell::kPlatformFileSeparator +
             "\" (the separator is missing or occurs more than once)";
    case PlatformFileState::kNotEnciphered:
      return "the flag is not \"1\": the platform ignores the payload and uses its defaults";
    case PlatformFileState::kPayloadTooLarge:
      return "the payload is longer than " +
             std::to_string(kesto::shell::kMaxPlatformPayloadBytes) + " bytes";
    case PlatformFileState::kTooFewFields:
      return "the payload deciphers to fewer than six fields (other key material, or damaged)";
    case PlatformFileState::kFields:
      break;
  }
  return "";
}

int Read(const std::string& path) {
  kesto::Bytes bytes;
  std::string error;
  if (!kesto::ReadUserFile(path, bytes, error)) return Fail(error);
  const kesto::shell::PlatformFile file = kesto::shell::ReadPlatformFile(bytes);
  if (file.state != kesto::shell::PlatformFileState::kFields) {
    return Fail(path + ": " + WhyUnusable(bytes, file.state));
  }
  for (int i = 1; i <= file.fields.Count(); ++i) {
    std::printf("%s=%s\n", kFieldNames[i - 1], kesto::TextToUtf8(file.fields[i]).c_str());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = kesto::UserArguments(argc, argv);
  const std::size_t count = args.size();
  const std::string command = count > 0 ? args[0] : "";
  if (count == 1 && (command == "-h" || command == "--help")) return Usage(stdout, 0);
  if (command == "write" && count == 2 + kesto::shell::kPlatformFieldCount)
    return Write(args[1], args.data() + 2);
  if (command == "read" && count == 2) return Read(args[1]);
  return Usage(stderr, kBadArguments);
}
