#include "commands.h"

namespace taliven::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands{
      {"qq", "qq NUMBER [--json]", "the QQ number reading for NUMBER", &RunQq},
      {"netname", "netname NAME [--json]", "the net-name reading for NAME", &RunNetname},
      {"pinyin", "pinyin [--flags N] [--max-length M] [TEXT]", "TEXT (or the GBK bytes of stdin) in pinyin",
       &RunPinyin},
      {"day", "day DATE [--json]", "one day (YYYY-MM-DD) as the calendar engine sees it", &RunDay},
      {"days", "days FROM TO --json", "every day from FROM to TO, one JSON object per line", &RunDays},
      {"month", "month [YEAR MONTH] [--day D]", "a month as the calendar window lays it out", &RunMonth},
  };
  return commands;
}

}  // namespace taliven::cli
