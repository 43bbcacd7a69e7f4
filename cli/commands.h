#pragma once
// The commands of taliven-cli. Each takes the words after its name and
// returns the exit status; errors are thrown as UsageError or EngineError.

#include <string>
#include <string_view>
#include <vector>

namespace taliven::cli {

using Words = std::vector<std::string>;

struct Command {
  std::string_view name;
  std::string_view usage;    // one line, after "taliven-cli "
  std::string_view summary;  // what it does, for --help
  int (*run)(const Words& words);
};

// Every command, in the order --help lists them.
const std::vector<Command>& Commands();

int RunQq(const Words& words);
int RunPinyin(const Words& words);
int RunNetname(const Words& words);
int RunDay(const Words& words);
int RunDays(const Words& words);
int RunMonth(const Words& words);

}  // namespace taliven::cli
