#pragma once
// The QQ number reading: a number reduced modulo 81 picks one of 81 fixed
// entries, each "verdict|luck|details" in GBK.

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "gbk_text.h"

namespace taliven {

// Entry r is the reading of every number whose remainder modulo 81 is r.
extern const std::array<GbkText, 81> NumberReadings;

// The reading of a negative number that is not a multiple of 81.
extern const std::string_view NumberReadingDefault;

// The prompt shown when the number is left blank.
extern const std::string_view QqNumberPrompt;

// Raised for a number text that is not a signed 64-bit integer. text() holds
// the rejected text as given. The message (UTF-8, a sentence for the user and
// the technical text) quotes `shownText`, the text as the user sees it; by
// default the GBK text with every byte outside printable ASCII as \xNN.
class IntegerConversionError : public std::invalid_argument {
 public:
  explicit IntegerConversionError(std::string_view text);
  IntegerConversionError(std::string_view text, std::string_view shownText);
  const GbkText& text() const { return text_; }

 private:
  GbkText text_;
};

// The technical text of an IntegerConversionError, quoting `shownText` as it is.
std::string IntegerConversionMessage(std::string_view shownText);

// The whole entry for an already trimmed number text: an optional sign and
// decimal digits, nothing else. Throws IntegerConversionError otherwise,
// including for values outside the signed 64-bit range.
GbkText GetNumberReading(std::string_view numberText);

// The four lines the reading window shows.
struct NumberReadingLines {
  GbkText number;
  GbkText verdict;
  GbkText luck;
  GbkText details;
};

// Cuts `entry` at its first two "|": verdict, luck, and the rest as details.
// A part whose "|" is missing stays empty and the rest moves on, so the
// default text, which has none, lands whole in the details.
NumberReadingLines SplitNumberReading(std::string_view number, std::string_view entry);

// GetNumberReading and SplitNumberReading for a trimmed, non-empty number.
NumberReadingLines ReadNumber(std::string_view trimmedNumber);

}  // namespace taliven
