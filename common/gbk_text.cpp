#include "gbk_text.h"

#include <algorithm>

namespace taliven {

GbkText Trim(std::string_view text) {
  auto blank = [](char c) { return IsBlankByte(static_cast<unsigned char>(c)); };
  const auto first = std::find_if_not(text.begin(), text.end(), blank);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  return first < last ? GbkText(first, last) : GbkText();
}

GbkText AsciiUpper(std::string_view text) {
  GbkText result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

GbkText AsciiLower(std::string_view text) {
  GbkText result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

}  // namespace taliven
