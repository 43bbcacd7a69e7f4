#include "cli_support.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>

#include "commands.h"
#include "edit_box_rules.h"
#include "gbk_codec.h"

namespace taliven::cli {
namespace {

QString FromUtf8(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

int Digits(std::string_view text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

Args::Args(const std::vector<std::string>& words, const std::vector<Parameter>& parameters) {
  const auto find = [&](std::string_view word) {
    return std::find_if(parameters.begin(), parameters.end(),
                        [&](const Parameter& p) { return p.isOption() && p.option() == word; });
  };
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.size() <= 2 || !word.starts_with("--")) {
      positionals_.push_back(word);
      continue;
    }
    const auto parameter = find(word);
    if (parameter == parameters.end()) throw UsageError("unknown option " + word);
    if (!parameter->takesValue()) {
      options_.emplace_back(word, "");
    } else if (i + 1 < words.size()) {
      options_.emplace_back(word, words[++i]);
    } else {
      throw UsageError("option " + word + " needs a value");
    }
  }
}

bool Args::has(std::string_view option) const {
  return std::any_of(options_.begin(), options_.end(), [&](const auto& o) { return o.first == option; });
}

std::optional<std::string> Args::value(std::string_view option) const {
  for (auto it = options_.rbegin(); it != options_.rend(); ++it) {
    if (it->first == option) return it->second;
  }
  return std::nullopt;
}

std::vector<std::string> Args::values(std::string_view option) const {
  std::vector<std::string> found;
  for (const auto& [name, value] : options_) {
    if (name == option) found.push_back(value);
  }
  return found;
}

int ParseIntArgument(std::string_view text, std::string_view what) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) {
    throw UsageError("invalid " + std::string(what) + ": '" + std::string(text) + "'");
  }
  return value;
}

int ParseIntInRange(std::string_view text, std::string_view what, int low, int high) {
  const int value = ParseIntArgument(text, what);
  if (value < low || value > high) {
    throw UsageError(std::string(what) + " must be " + std::to_string(low) + ".." + std::to_string(high));
  }
  return value;
}

CivilDate ParseDateArgument(std::string_view text) {
  const auto invalid = [&] { return UsageError("invalid date '" + std::string(text) + "', expected YYYY-MM-DD"); };
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') throw invalid();
  const std::string_view year = text.substr(0, 4), month = text.substr(5, 2), day = text.substr(8, 2);
  if (!AllDigits(year) || !AllDigits(month) || !AllDigits(day)) throw invalid();
  const CivilDate date{Digits(year), Digits(month), Digits(day)};
  if (!EncodeDate(date.year, date.month, date.day)) throw invalid();
  return date;
}

void WriteOut(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
    throw EngineError("cannot write standard output");
  }
}

void AppendNumber(std::string& out, int value, int width) {
  char digits[16];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  (void)ec;  // 16 characters hold every int
  for (auto length = end - digits; length < width; ++length) out += '0';
  out.append(digits, end);
}

void AppendDate(std::string& out, const CivilDate& date) {
  AppendNumber(out, date.year, 4);
  out += '-';
  AppendNumber(out, date.month, 2);
  out += '-';
  AppendNumber(out, date.day, 2);
}

void AppendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20) {
          out += "\\u00";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void AppendJsonField(std::string& out, std::string_view key, const GbkText& value) {
  out += out.empty() ? "{" : ",";
  AppendJsonString(out, key);
  out += ':';
  AppendJsonString(out, GbkToUtf8(value));
}

std::string GbkToUtf8(std::string_view gbk) { return FromGbk(gbk).toStdString(); }

const std::string& Utf8Texts::operator()(const GbkText& gbk) {
  auto found = cache_.find(gbk);
  if (found == cache_.end()) found = cache_.emplace(gbk, GbkToUtf8(gbk)).first;
  return found->second;
}

GbkText Utf8ToGbk(std::string_view utf8) { return ToGbk(FromUtf8(utf8)); }

const HolidayArrangements& KnownHolidays() {
  static const HolidayArrangements holidays = LoadHolidayArrangements(HolidayDataDirs(), std::cerr);
  return holidays;
}

bool IsUtf8(std::string_view text) {
  // Malformed sequences come back as U+FFFD, so the round trip changes them.
  return FromUtf8(text).toStdString() == text;
}

GbkText EditBoxText(std::string_view utf8) {
  return ToGbk(QString::fromStdU16String(ApplyEditBoxRules(FromUtf8(utf8).toStdU16String())));
}

}  // namespace taliven::cli
