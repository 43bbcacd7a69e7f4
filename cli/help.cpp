// --help as text: the program's, and each command's.
#include <string>

#include "commands.h"

namespace taliven::cli {
namespace {

// Appends `text` with every line indented by `indent` blanks.
void AppendIndented(std::string& out, std::string_view text, std::string_view indent) {
  ForEachLine(text, [&](std::string_view line) {
    if (!line.empty()) out.append(indent).append(line);
    out += '\n';
  });
}

void AppendParameters(std::string& out, std::string_view heading, const std::vector<Parameter>& parameters) {
  out.append("\n").append(heading).append(":\n");
  for (const Parameter& parameter : parameters) {
    AppendIndented(out, parameter.name, "  ");
    AppendIndented(out, parameter.text, "      ");
  }
}

}  // namespace

std::string ProgramHelpText() {
  const ProgramHelp& program = Program();
  std::string out = "usage: taliven-cli COMMAND [ARGS] [--help]\n\n";
  AppendIndented(out, program.summary, "");
  out += '\n';
  AppendIndented(out, program.description, "");
  out += "\nCommands:\n";
  for (const Command& command : Commands()) {
    AppendIndented(out, command.usage, "  ");
    AppendIndented(out, command.summary, "      ");
  }
  AppendParameters(out, "Options", program.options);
  AppendParameters(out, "Exit status", program.exitStatuses);
  AppendParameters(out, "Environment", program.environment);
  return out;
}

std::string CommandHelpText(const Command& command) {
  std::string out = "usage: taliven-cli ";
  out.append(command.usage).append("\n\n");
  AppendIndented(out, command.summary, "");
  out += '\n';
  AppendIndented(out, command.description, "");
  AppendParameters(out, "Arguments and options", command.parameters);
  out += "\nExamples:\n";
  for (const Example& example : command.examples) {
    AppendIndented(out, example.commandLine, "  ");
    AppendIndented(out, example.output, "      ");
  }
  return out;
}

}  // namespace taliven::cli
