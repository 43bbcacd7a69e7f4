#include "letter_traits.h"

#include <gtest/gtest.h>

namespace taliven {
namespace {

TEST(LetterTraits, OnlyFHIAndJCarryBlanks) {
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    const std::string_view trait = LetterTraits[letter - 'a'];
    const bool padded = letter == 'f' || letter == 'h' || letter == 'i' || letter == 'j';
    EXPECT_EQ(trait.starts_with(' '), padded) << letter;
    EXPECT_EQ(trait.ends_with(' '), letter == 'h') << letter;
    EXPECT_FALSE(Trim(trait).empty()) << letter;
  }
}

TEST(DigitsToLetters, ReplacesEveryDigitAndNothingElse) {
  EXPECT_EQ(DigitsToLetters("1234567890"), "ABCDEFGHIJ");
  EXPECT_EQ(DigitsToLetters("a1张0?"), "aA张J?");
  EXPECT_EQ(DigitsToLetters(""), "");
}

TEST(GetLetterTrait, MatchesExactlyOneSmallLetter) {
  EXPECT_EQ(GetLetterTrait("a"), "好奇心强，专一");
  EXPECT_EQ(GetLetterTrait("z"), "老实，想问题容易兜圈子");
  for (const char* other : {"A", "Z", "ab", "", "?", "1", "{", "`"}) {
    EXPECT_EQ(GetLetterTrait(other), "") << other;
  }
}

TEST(GetNetNameTrait, TheLastConvertedLetterDecides) {
  struct Case {
    std::string_view name, letters, trait;
  };
  const Case cases[] = {
      {"张三", "ZS", "心胸宽大，有深藏不露的自恋"},
      {"小明", "XM", "反复无常，喜欢模仿神秘人物举动的小孩子性格，但是常常被宠爱"},
      {"tom", "TOM", "反复无常，喜欢模仿神秘人物举动的小孩子性格，但是常常被宠爱"},
      {"ABC123", "ABCABC", "可爱，较明显的自恋"},
      {"张三!", "ZS", "心胸宽大，有深藏不露的自恋"},
      {"李10", "LAJ", " 煽情高手"},
      {"x9", "XI", " 有点懒惰"},
      // 13 characters that read as two letters each: the whole name counts, not a prefix.
      {"⒛⒛⒛⒛⒛⒛⒛⒛⒛⒛⒛⒛⒛", "BJBJBJBJBJBJBJBJBJBJBJBJBJ", " 煽情高手"},
      {"!@#", "", ""},
      {"中国给", "ZG?", ""},  // a character without a reading at the end
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NetNameLetters(c.name), c.letters) << c.name;
    EXPECT_EQ(GetNetNameTrait(c.name), c.trait) << c.name;
  }
}

TEST(ReadNetName, ShowsTheNameAndTheTrimmedTrait) {
  struct Case {
    std::string_view name, line1, line2;
  };
  const Case cases[] = {
      {"张三", "你的网名：张三", "你的性格：心胸宽大，有深藏不露的自恋"},
      {"TOM", "你的网名：TOM", "你的性格：反复无常，喜欢模仿神秘人物举动的小孩子性格，但是常常被宠爱"},
      {"a0", "你的网名：a0", "你的性格：煽情高手"},
      {"ff", "你的网名：ff", "你的性格：有抱负，志气高"},
      {"hh", "你的网名：hh", "你的性格：自立，自强，可依靠"},
      {"...", "你的网名：...", "你的性格："},
  };
  for (const auto& c : cases) {
    const NetNameReading reading = ReadNetName(c.name);
    EXPECT_EQ(reading.line1, c.line1);
    EXPECT_EQ(reading.line2, c.line2);
  }
}

}  // namespace
}  // namespace taliven
