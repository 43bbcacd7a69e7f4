#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "commands.h"

namespace taliven::cli {
namespace {

struct ShellRun {
  std::string output;
  int status;
};

// Runs a command line as a user would type it, in `folder`, with the built
// taliven-cli first on PATH.
ShellRun RunInShell(std::string_view commandLine, const std::filesystem::path& folder) {
  const std::string shell = "cd '" + folder.string() +
                            "' && PATH='" TALIVEN_CLI_DIR
                            "':\"$PATH\" XDG_DATA_HOME=/nonexistent XDG_DATA_DIRS=/nonexistent " +
                            std::string(commandLine);
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(shell.c_str(), "r"), pclose);
  ShellRun run{{}, -1};
  std::array<char, 4096> buffer;
  while (const auto count = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) {
    run.output.append(buffer.data(), count);
  }
  run.status = pclose(pipe.release());
  return run;
}

TEST(Help, EveryExamplePrintsWhatTheHelpShows) {
  // Some examples write files: they land here.
  const auto scratch = std::filesystem::temp_directory_path() / ("taliven-help-" + std::to_string(getpid()));
  std::filesystem::create_directories(scratch);
  for (const Command& command : Commands()) {
    ASSERT_FALSE(command.examples.empty()) << command.name;
    for (const Example& example : command.examples) {
      SCOPED_TRACE(example.commandLine);
      const ShellRun run = RunInShell(example.commandLine, scratch);
      EXPECT_EQ(run.status, 0);
      if (!example.output.empty()) {
        EXPECT_EQ(run.output, std::string(example.output) + "\n");
      }
    }
  }
  std::filesystem::remove_all(scratch);
}

// Every argument and option in a command's usage line is explained, and
// nothing is explained that the usage line does not show.
TEST(Help, ExplainsEveryArgumentAndOptionOfTheUsageLine) {
  for (const Command& command : Commands()) {
    SCOPED_TRACE(command.name);
    std::string usage(command.usage.substr(command.name.size()));
    for (const Parameter& parameter : command.parameters) {
      const auto at = usage.find(parameter.name);
      ASSERT_NE(at, std::string::npos) << parameter.name;
      EXPECT_FALSE(parameter.text.empty()) << parameter.name;
      usage.erase(at, parameter.name.size());
    }
    EXPECT_EQ(usage.find_first_not_of(" []."), std::string::npos) << "left unexplained: " << usage;
  }
}

}  // namespace
}  // namespace taliven::cli
