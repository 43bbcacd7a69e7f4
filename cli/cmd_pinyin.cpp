#include <cstdio>
#include <string>

#include "cli_support.h"
#include "commands.h"
#include "pinyin.h"

namespace taliven::cli {
namespace {

std::string ReadAllOfStdin() {
  std::string bytes;
  char buffer[1 << 16];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) bytes.append(buffer, count);
  if (std::ferror(stdin)) throw EngineError("cannot read standard input");
  return bytes;
}

}  // namespace

int RunPinyin(const Args& args) {
  if (args.positionals().size() > 1) throw UsageError("expected at most one TEXT");
  const int flags = ParseIntArgument(args.value("--flags").value_or("0"), "flags");
  const int maxLength = ParseIntArgument(args.value("--max-length").value_or("255"), "max length");

  // Without TEXT the bytes go through untouched, so that any byte sequence can be tried.
  if (args.positionals().empty()) {
    WriteOut(ConvertToPinyin(ReadAllOfStdin(), flags, maxLength));
  } else {
    const GbkText text = Utf8ToGbk(args.positionals().front());
    WriteOut(GbkToUtf8(ConvertToPinyin(text, flags, maxLength)) + "\n");
  }
  return 0;
}

}  // namespace taliven::cli
