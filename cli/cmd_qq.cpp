#include <string>

#include "cli_support.h"
#include "commands.h"
#include "numerology.h"

namespace taliven::cli {

int RunQq(const Args& args) {
  if (args.positionals().size() != 1) throw UsageError("expected one NUMBER");
  const GbkText number = Trim(EditBoxText(args.positionals().front()));
  if (number.empty()) throw EngineError(GbkToUtf8(QqNumberPrompt));

  NumberReadingLines lines;
  try {
    lines = ReadNumber(number);
  } catch (const IntegerConversionError& e) {
    // The message carries the text as GBK; the terminal wants UTF-8.
    throw EngineError(IntegerConversionMessage(GbkToUtf8(e.text())));
  }

  std::string out;
  if (args.has("--json")) {
    AppendJsonField(out, "number", lines.number);
    AppendJsonField(out, "verdict", lines.verdict);
    AppendJsonField(out, "luck", lines.luck);
    AppendJsonField(out, "details", lines.details);
    out += "}\n";
  } else {
    out = "qq号码是：" + GbkToUtf8(lines.number) + "\n状态：" + GbkToUtf8(lines.verdict) + "\n吉凶：" +
          GbkToUtf8(lines.luck) + "\n具体表现：" + GbkToUtf8(lines.details) + "\n";
  }
  WriteOut(out);
  return 0;
}

}  // namespace taliven::cli
