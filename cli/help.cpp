// --help as text: the program's, and each command's.
#include <string>

#include "commands.h"

namespace taliven::cli {
namespace {

// Appends `text` with every line indented by `indent` blanks.
void AppendIndented(std::string& out, std::string_view text, std::string_view indent) {
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    if (!line.empty()) out.append(indent).append(line);
    out += '\n';
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
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
