// Writes taliven-cli's manual page and its bash completion from the command
// table that also drives --help, so that the three cannot drift apart.
//   taliven_cli_docs man-page DATE VERSION   the page taliven-cli(1), roff
//   taliven_cli_docs bash-completion         the completion script
#include <cstdio>
#include <string>
#include <string_view>

#include "commands.h"

namespace taliven::cli {
namespace {

// One line of text for troff: backslashes and hyphens escaped, a leading
// dot or quote kept from reading as a request.
std::string Roff(std::string_view line) {
  std::string out;
  if (line.starts_with('.') || line.starts_with('\'')) out = "\\&";
  for (const char c : line) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

// A text as roff: blank lines part paragraphs, lines that start with two
// blanks form a block that keeps its layout.
void AppendRoffText(std::string& out, std::string_view text) {
  bool keptLayout = false;
  ForEachLine(text, [&](std::string_view line) {
    const bool table = line.starts_with("  ");
    if (table != keptLayout) out += table ? ".nf\n" : ".fi\n";
    keptLayout = table;
    out += line.empty() ? ".PP" : Roff(line);
    out += '\n';
  });
  if (keptLayout) out += ".fi\n";
}

void AppendRoffList(std::string& out, const std::vector<Parameter>& items) {
  for (const Parameter& item : items) {
    out += ".TP\n.B " + Roff(item.name) + "\n";
    AppendRoffText(out, item.text);
  }
}

// Columns a terminal gives the text: two for a character beyond U+07FF
// (Chinese), one for any other.
std::size_t Columns(std::string_view line) {
  std::size_t columns = 0;
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) columns += byte >= 0xE0 ? 2 : 1;
  }
  return columns;
}

// An example's output is shown when it fits the page: its lines are set as
// they are, with no filling.
bool FitsThePage(std::string_view output) {
  bool fits = !output.empty();
  ForEachLine(output, [&](std::string_view line) { fits = fits && Columns(line) <= 60; });
  return fits;
}

std::string ManPage(std::string_view date, std::string_view version) {
  const ProgramHelp& program = Program();
  std::string out = ".\\\" -*- coding: UTF-8 -*-\n";
  out += ".\\\" Written by taliven_cli_docs from the command table in cli/commands.cpp.\n";
  out +=
      ".TH TALIVEN\\-CLI 1 " + std::string(date) + " \"Taliven " + std::string(version) + "\" \"User Commands\"\n.nh\n";
  out += ".SH NAME\ntaliven\\-cli \\- ";
  std::string summary(program.summary);
  summary[0] = static_cast<char>(summary[0] - 'A' + 'a');
  out += Roff(summary.substr(0, summary.size() - 1)) + "\n";
  out += ".SH SYNOPSIS\n.B taliven\\-cli\n.I COMMAND\n.RI [ ARGS ]\n.br\n.B taliven\\-cli\n";
  out += ".I COMMAND\n.B \\-\\-help\n.br\n.B taliven\\-cli\n.BR \\-\\-help \" | \" \\-\\-version\n";
  out += ".SH DESCRIPTION\n";
  AppendRoffText(out, program.description);
  out += ".SH COMMANDS\n";
  for (const Command& command : Commands()) {
    out += ".SS \"" + Roff(command.usage) + "\"\n";
    AppendRoffText(out, command.summary);
    out += ".PP\n";
    AppendRoffText(out, command.description);
    AppendRoffList(out, command.parameters);
    out += ".PP\nExample" + std::string(command.examples.size() > 1 ? "s" : "") + ":\n.RS\n.nf\n";
    for (const Example& example : command.examples) {
      out += "\\fB" + Roff(example.commandLine) + "\\fR\n";
      if (FitsThePage(example.output)) {
        ForEachLine(example.output, [&](std::string_view line) { out += "    " + Roff(line) + "\n"; });
      }
    }
    out += ".fi\n.RE\n";
  }
  out += ".SH OPTIONS\n";
  AppendRoffList(out, program.options);
  out += ".SH \"EXIT STATUS\"\n";
  AppendRoffList(out, program.exitStatuses);
  out += ".SH ENVIRONMENT\n";
  AppendRoffList(out, program.environment);
  out += ".SH \"SEE ALSO\"\n.BR taliven (1)\n";
  return out;
}

std::string BashCompletion() {
  std::string commands;
  std::string options;
  std::string values;
  for (const Command& command : Commands()) {
    commands += std::string(command.name) + " ";
    options += "    " + std::string(command.name) + ") options='";
    for (const Parameter& parameter : command.parameters) {
      if (!parameter.isOption()) continue;
      options += std::string(parameter.option()) + " ";
      const std::string valueCase = "    " + std::string(parameter.option()) + ")";
      if (!parameter.takesValue() || values.find(valueCase) != std::string::npos) continue;
      values += valueCase;
      if (parameter.choices.empty()) {
        values += " return ;;\n";
      } else if (parameter.list) {
        values += " _taliven_cli_list '" + std::string(parameter.choices) + "'; return ;;\n";
      } else {
        values += " COMPREPLY=($(compgen -W '" + std::string(parameter.choices) + "' -- \"$cur\")); return ;;\n";
      }
    }
    options += "--help' ;;\n";
  }
  return "# bash completion for taliven-cli\n"
         "# Written by taliven_cli_docs from the command table in cli/commands.cpp.\n"
         "\n"
         "# Completes the last item of a comma-separated list of the given words.\n"
         "_taliven_cli_list() {\n"
         "  local done=${cur%\"${cur##*,}\"}\n"
         "  COMPREPLY=($(compgen -P \"$done\" -W \"$1\" -- \"${cur##*,}\"))\n"
         "}\n"
         "\n"
         "_taliven_cli() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} options\n"
         "  COMPREPLY=()\n"
         "  if ((COMP_CWORD == 1)); then\n"
         "    COMPREPLY=($(compgen -W '" +
         commands +
         "--help --version' -- \"$cur\"))\n"
         "    return\n"
         "  fi\n"
         "  case $prev in\n" +
         values +
         "  esac\n"
         "  case ${COMP_WORDS[1]} in\n" +
         options +
         "    *) return ;;\n"
         "  esac\n"
         "  if [[ -z $cur || $cur == -* ]]; then\n"
         "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
         "  fi\n"
         "}\n"
         "complete -F _taliven_cli taliven-cli\n";
}

}  // namespace
}  // namespace taliven::cli

int main(int argc, char** argv) {
  const std::string_view what = argc > 1 ? argv[1] : "";
  std::string out;
  if (what == "man-page" && argc == 4) {
    out = taliven::cli::ManPage(argv[2], argv[3]);
  } else if (what == "bash-completion" && argc == 2) {
    out = taliven::cli::BashCompletion();
  } else {
    std::fputs("usage: taliven_cli_docs man-page DATE VERSION | bash-completion\n", stderr);
    return 2;
  }
  return std::fputs(out.c_str(), stdout) == EOF ? 1 : 0;
}
