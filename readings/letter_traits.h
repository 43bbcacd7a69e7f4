#pragma once
// The net-name reading: a name's pinyin initials, digits turned into letters,
// and the trait of the last letter.

#include <array>
#include <string_view>

#include "gbk_text.h"

namespace taliven {

// The trait of each letter, "a" to "z" at index 0 to 25. Some texts carry
// blanks at their ends; the reading trims them before showing them.
extern const std::array<std::string_view, 26> LetterTraits;

// The trait (untrimmed) that the last letter of the trimmed name decides, or ""
// when no letter does (an empty name, nothing left after the conversion, or a
// character without a reading at the end).
GbkText GetNetNameTrait(std::string_view name);

// The letters the trait is read from: the name's initials with digits as letters.
GbkText NetNameLetters(std::string_view name);

// "1".."9" become "A".."I" and "0" becomes "J"; everything else is kept.
GbkText DigitsToLetters(std::string_view text);

// The LetterTraits entry of exactly "a".."z"; "" for anything else.
GbkText GetLetterTrait(std::string_view letter);

// The two lines the reading shows for a trimmed, non-empty name.
struct NetNameReading {
  GbkText line1;
  GbkText line2;
};
NetNameReading ReadNetName(std::string_view trimmedName);

// The prompt shown when the name is empty or blank.
GbkText NetNamePrompt();

}  // namespace taliven
