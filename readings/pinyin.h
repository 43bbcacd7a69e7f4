#pragma once
// Hanzi to pinyin: turns a GBK text into upper-case Latin letters, one syllable
// (or its first letter) per Chinese character, in one pass with constant tables.

#include <array>
#include <cstdint>
#include <string_view>

#include "gbk_text.h"

// The zero-terminated entry, callable from C: the result is allocated with
// malloc and belongs to the caller, who releases it with free. A null text
// counts as the empty text. Throws std::bad_alloc when memory runs out.
extern "C" char* GetPinyin(const char* text, int flags, int maxLength);

namespace taliven {

// Bits of the flags; other bits are ignored, a negative value gives "".
inline constexpr std::int32_t pyFullSyllable = 1;  // ZHONG rather than Z
inline constexpr std::int32_t pyMarkUnknown = 2;   // "?" for a character without a reading
inline constexpr std::int32_t pyKeepAllBytes = 4;  // keep symbols and punctuation too

// Converts `text` and cuts the result to its first maxLength bytes (none when
// maxLength <= 0). Every byte sequence is valid input.
GbkText ConvertToPinyin(std::string_view text, std::int32_t flags, std::int32_t maxLength);

// A toneless syllable in lower case; ü is written v, üe is written ue.
struct PinyinSyllable {
  std::uint8_t length;
  char letters[6];

  constexpr std::string_view text() const { return {letters, length}; }
};
static_assert(sizeof(PinyinSyllable) == 7);

// Syllable number n (1-based, as PinyinIndex refers to it) is PinyinSyllables[n - 1].
inline constexpr int kPinyinSyllableCount = 405;
extern const std::array<PinyinSyllable, kPinyinSyllableCount> PinyinSyllables;

// One syllable number per GBK double-byte position, 0 for none: lead bytes
// 0x81..0xFE are the rows, trail bytes 0x40..0xFE the columns.
inline constexpr int kPinyinIndexColumns = 191;
inline constexpr int kPinyinIndexSize = 126 * kPinyinIndexColumns;
extern const std::array<std::uint16_t, kPinyinIndexSize> PinyinIndex;

// Readings of row 0xA2 (trail bytes 0xA1..0xFE): enumerated forms read as
// their number's digits; empty for the unassigned positions.
extern const std::array<std::string_view, 94> NumberFormReadings;

// Readings of the Greek letters of row 0xA6, in alphabet order, shared by the
// capitals (trail 0xA1..0xB8) and the small letters (trail 0xC1..0xD8).
extern const std::array<std::string_view, 24> GreekLetterReadings;

}  // namespace taliven
