#include <string>

#include "cli_support.h"
#include "commands.h"
#include "letter_traits.h"

namespace taliven::cli {

int RunNetname(const Args& args) {
  if (args.positionals().size() != 1) throw UsageError("expected one NAME");
  const GbkText name = Trim(EditBoxText(args.positionals().front()));
  if (name.empty()) throw EngineError(GbkToUtf8(NetNamePrompt()));

  const NetNameReading reading = ReadNetName(name);
  std::string out;
  if (args.has("--json")) {
    AppendJsonField(out, "name", name);
    AppendJsonField(out, "letters", NetNameLetters(name));
    AppendJsonField(out, "trait", Trim(GetNetNameTrait(name)));
    AppendJsonField(out, "line1", reading.line1);
    AppendJsonField(out, "line2", reading.line2);
    out += "}\n";
  } else {
    out = GbkToUtf8(reading.line1) + "\n" + GbkToUtf8(reading.line2) + "\n";
  }
  WriteOut(out);
  return 0;
}

}  // namespace taliven::cli
