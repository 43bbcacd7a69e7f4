#include "pinyin.h"

namespace taliven {

// clang-format off
const std::array<std::string_view, 94> NumberFormReadings{
    // 0xA1..0xAA: small Roman numerals
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    // 0xAB..0xB0: unassigned
    "", "", "", "", "", "",
    // 0xB1..0xC4: numbers with a full stop
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    "11", "12", "13", "14", "15", "16", "17", "18", "19", "20",
    // 0xC5..0xD8: parenthesised numbers
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    "11", "12", "13", "14", "15", "16", "17", "18", "19", "20",
    // 0xD9..0xE2: circled numbers
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    // 0xE3..0xE4: unassigned
    "", "",
    // 0xE5..0xEE: parenthesised ideographs one to ten
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    // 0xEF..0xF0: unassigned
    "", "",
    // 0xF1..0xFC: Roman numerals
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12",
    // 0xFD..0xFE: unassigned
    "", ""};
// clang-format on

// clang-format off
const std::array<std::string_view, 24> GreekLetterReadings{
    "a", "b", "g", "d", "e", "z", "e", "th", "i", "k", "l", "m",
    "n", "x", "o", "p", "r", "s", "t", "u", "ph", "kh", "ps", "o"};
// clang-format on

}  // namespace taliven
