#pragma once
// The commands of taliven-cli and everything said about them. One table
// feeds the option parsing, --help, the manual page and the shell completion,
// so none of them can drift from the others.

#include <string>
#include <string_view>
#include <vector>

namespace taliven::cli {

class Args;

// An argument ("DATE") or an option ("--json", or "--flags N" when it takes
// a value), with what it means. Texts may run over several lines; a line
// that starts with two blanks belongs to a table and keeps its layout.
struct Parameter {
  std::string_view name;
  std::string_view text;
  // The words the option's value may be, blank-separated, for completion;
  // `list`: the value is a comma-separated list of them.
  std::string_view choices = {};
  bool list = false;

  bool isOption() const { return name.starts_with("--"); }
  std::string_view option() const { return name.substr(0, name.find(' ')); }
  bool takesValue() const { return isOption() && name.find(' ') != std::string_view::npos; }
};

// A command line as a user types it and what it prints (empty when the
// output is not shown). A test runs every example and compares the output.
struct Example {
  std::string_view commandLine;
  std::string_view output = {};
};

struct Command {
  std::string_view name;
  std::string_view usage;        // after "taliven-cli "
  std::string_view summary;      // one line
  std::string_view description;  // paragraphs separated by a blank line
  std::vector<Parameter> parameters;
  std::vector<Example> examples;
  int (*run)(const Args& args);
};

// Every command, in the order --help lists them.
const std::vector<Command>& Commands();

// What the program as a whole is, for --help and the manual page.
struct ProgramHelp {
  std::string_view summary;
  std::string_view description;
  std::vector<Parameter> options;
  std::vector<Parameter> exitStatuses;
  std::vector<Parameter> environment;
};
const ProgramHelp& Program();

// Calls f with each line of a help text, as a view.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
  while (!text.empty()) {
    const auto end = text.find('\n');
    f(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

// The texts --help prints: for the program, and for one command.
std::string ProgramHelpText();
std::string CommandHelpText(const Command& command);

int RunQq(const Args& args);
int RunNetname(const Args& args);
int RunPinyin(const Args& args);
int RunDay(const Args& args);
int RunDays(const Args& args);
int RunMonth(const Args& args);
int RunHolidays(const Args& args);
int RunFromLunar(const Args& args);
int RunIcs(const Args& args);

}  // namespace taliven::cli
