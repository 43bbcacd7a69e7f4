#include "cli_support.h"

#include <algorithm>
#include <charconv>

#include "edit_box_rules.h"
#include "gbk_codec.h"

namespace taliven::cli {

Args::Args(std::vector<std::string> words, const std::vector<std::string_view>& flagOptions,
           const std::vector<std::string_view>& valueOptions) {
  auto contains = [](const auto& list, std::string_view w) {
    return std::find(list.begin(), list.end(), w) != list.end();
  };
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.size() > 2 && word.starts_with("--")) {
      if (contains(flagOptions, word)) {
        options_.emplace_back(word, "");
      } else if (contains(valueOptions, word)) {
        if (i + 1 >= words.size()) throw UsageError("option " + word + " needs a value");
        options_.emplace_back(word, words[++i]);
      } else {
        throw UsageError("unknown option " + word);
      }
    } else {
      positionals_.push_back(word);
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

int ParseIntArgument(std::string_view text, std::string_view what) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) {
    throw UsageError("invalid " + std::string(what) + ": '" + std::string(text) + "'");
  }
  return value;
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

namespace {

QString FromUtf8(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace

GbkText Utf8ToGbk(std::string_view utf8) { return ToGbk(FromUtf8(utf8)); }

GbkText EditBoxText(std::string_view utf8) {
  return ToGbk(QString::fromStdU16String(ApplyEditBoxRules(FromUtf8(utf8).toStdU16String())));
}

}  // namespace taliven::cli
