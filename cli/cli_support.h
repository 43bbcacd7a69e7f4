#pragma once
// Shared plumbing of the terminal companion's commands: argument parsing,
// errors with their exit codes, output, JSON and the UTF-8 <-> GBK boundary.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "gbk_text.h"
#include "holidays.h"
#include "tdatetime.h"

namespace taliven::cli {

struct Parameter;

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
// The command's parameters say which options exist: "--name" is a flag,
// "--name VALUE" takes the next word as its value. An option may be given
// more than once.
class Args {
 public:
  Args(const std::vector<std::string>& words, const std::vector<Parameter>& parameters);

  const std::vector<std::string>& positionals() const { return positionals_; }
  bool has(std::string_view option) const;
  // The value given last, if any.
  std::optional<std::string> value(std::string_view option) const;
  // Every value given, in order.
  std::vector<std::string> values(std::string_view option) const;

 private:
  std::vector<std::string> positionals_;
  std::vector<std::pair<std::string, std::string>> options_;
};

// Parses a decimal integer, the whole text; throws UsageError naming `what`.
int ParseIntArgument(std::string_view text, std::string_view what);

// The same for an integer that must lie in low..high.
int ParseIntInRange(std::string_view text, std::string_view what, int low, int high);

// Parses YYYY-MM-DD, a day of the years 1..9999; throws UsageError otherwise.
CivilDate ParseDateArgument(std::string_view text);

// Writes the whole result to stdout at once; throws EngineError when it cannot.
void WriteOut(std::string_view bytes);

// Appends the number with at least `width` digits, zeros in front.
void AppendNumber(std::string& out, int value, int width = 0);

// Appends YYYY-MM-DD.
void AppendDate(std::string& out, const CivilDate& date);

// Appends `text` (UTF-8) as a JSON string literal, quotes included.
// Non-ASCII characters are written as they are.
void AppendJsonString(std::string& out, std::string_view text);

// Appends `"key":"value"` to a JSON object being built in `out`, opening the
// object with the first field; the GBK value is written as UTF-8.
void AppendJsonField(std::string& out, std::string_view key, const GbkText& value);

std::string GbkToUtf8(std::string_view gbk);

// GbkToUtf8 for the engine's texts, which come from a few fixed lists:
// each is converted once.
class Utf8Texts {
 public:
  const std::string& operator()(const GbkText& gbk);

 private:
  std::unordered_map<GbkText, std::string> cache_;
};

GbkText Utf8ToGbk(std::string_view utf8);

// The arrangements of public holidays, with the years the XDG data folders'
// taliven/holidays.txt files add or replace; read once, on first use, their
// problems written to standard error.
const HolidayArrangements& KnownHolidays();

// Whether `text` is well-formed UTF-8.
bool IsUtf8(std::string_view text);

// What the reading windows' edit box holds once `utf8` is pasted into it, as
// GBK: cut to the box's length and upper-cased by the box's own rules.
GbkText EditBoxText(std::string_view utf8);

}  // namespace taliven::cli
