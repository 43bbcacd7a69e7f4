#pragma once
// What the reading windows' edit box makes of a text put into it: the box
// keeps at most 18 characters and turns small ASCII letters into capitals.
// The box and the terminal companion both apply the rules through here, so
// they always agree on what was entered.

#include <cstddef>
#include <string>
#include <string_view>

namespace taliven {

// The box counts UTF-16 code units, as its toolkit does: a character outside
// the Basic Multilingual Plane counts two, and the cut may fall between them.
inline constexpr std::size_t kEditBoxMaxLength = 18;

// The box's text after `text` was pasted into it while empty: its first
// kEditBoxMaxLength code units, with 'a'..'z' turned into 'A'..'Z'.
std::u16string ApplyEditBoxRules(std::u16string_view text);

}  // namespace taliven
