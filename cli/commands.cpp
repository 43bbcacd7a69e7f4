#include "commands.h"

namespace taliven::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands{
      {"qq", "qq NUMBER [--json]", "the QQ number reading for NUMBER", &RunQq},
  };
  return commands;
}

}  // namespace taliven::cli
