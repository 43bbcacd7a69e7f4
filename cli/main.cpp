// taliven-cli: the engine's answers in a terminal and to scripts.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "cli_support.h"
#include "commands.h"
#include "version.h"

namespace {

using taliven::cli::Command;
using taliven::cli::Commands;

int UsageFailure(const std::string& message, std::string_view usage) {
  std::fprintf(stderr, "taliven-cli: %s\nusage: taliven-cli %.*s\n", message.c_str(), static_cast<int>(usage.size()),
               usage.data());
  return 2;
}

bool Contains(const std::vector<std::string>& words, std::string_view word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return UsageFailure("missing command", "COMMAND [ARGS] (see --help)");
  if (args[0] == "--help") {
    std::fputs(taliven::cli::ProgramHelpText().c_str(), stdout);
    return 0;
  }
  if (args[0] == "--version") {
    std::printf("taliven-cli %s\n", TALIVEN_VERSION);
    return 0;
  }

  const auto& commands = Commands();
  const auto command =
      std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return c.name == args[0]; });
  if (command == commands.end()) {
    return UsageFailure("unknown command '" + args[0] + "'", "COMMAND [ARGS] (see --help)");
  }

  const std::vector<std::string> words(args.begin() + 1, args.end());
  if (Contains(words, "--help")) {
    std::fputs(taliven::cli::CommandHelpText(*command).c_str(), stdout);
    return 0;
  }
  if (Contains(words, "--version")) {
    std::printf("taliven-cli %s\n", TALIVEN_VERSION);
    return 0;
  }

  try {
    return command->run(taliven::cli::Args(words, command->parameters));
  } catch (const taliven::cli::UsageError& e) {
    return UsageFailure(e.what(), command->usage);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "taliven-cli %s: %s\n", args[0].c_str(), e.what());
    return 1;
  }
}
