#pragma once
// Shared plumbing of the terminal companion's commands: argument parsing,
// errors with their exit codes, JSON output and the UTF-8 <-> GBK boundary.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gbk_text.h"

namespace taliven::cli {

// Exit 2: the command line was not understood. The message is one line.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Exit 1: understood, but the engine rejected the input.
class EngineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The words after the command name, with options split from positionals.
// Options are "--name" or "--name value"; which ones take a value is given.
class Args {
 public:
  Args(std::vector<std::string> words, const std::vector<std::string_view>& flagOptions,
       const std::vector<std::string_view>& valueOptions);

  const std::vector<std::string>& positionals() const { return positionals_; }
  bool has(std::string_view option) const;
  std::optional<std::string> value(std::string_view option) const;

 private:
  std::vector<std::string> positionals_;
  std::vector<std::pair<std::string, std::string>> options_;
};

// Parses a decimal integer, the whole text; throws UsageError naming `what`.
int ParseIntArgument(std::string_view text, std::string_view what);

// Appends `text` (UTF-8) as a JSON string literal, quotes included.
// Non-ASCII characters are written as they are.
void AppendJsonString(std::string& out, std::string_view text);

// Appends `"key":"value"` to a JSON object being built in `out`, opening the
// object with the first field; the GBK value is written as UTF-8.
void AppendJsonField(std::string& out, std::string_view key, const GbkText& value);

std::string GbkToUtf8(std::string_view gbk);
GbkText Utf8ToGbk(std::string_view utf8);

// What the reading windows' edit box holds once `utf8` is pasted into it, as
// GBK: cut to the box's length and upper-cased by the box's own rules.
GbkText EditBoxText(std::string_view utf8);

}  // namespace taliven::cli
