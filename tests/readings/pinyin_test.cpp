#include "pinyin.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>

namespace taliven {
namespace {

using namespace std::string_literals;

std::uint16_t IndexEntry(int lead, int trail) {
  return PinyinIndex[(lead - 0x81) * kPinyinIndexColumns + (trail - 0x40)];
}

// --- the tables -------------------------------------------------------------

TEST(PinyinSyllables, KeepTheirNumbering) {
  struct Case {
    int number;
    std::string_view syllable;
  };
  const Case cases[] = {
      {1, "a"},     {85, "fou"},    {92, "ji"},      {127, "qiao"}, {165, "lia"}, {177, "lue"},
      {220, "yao"}, {376, "zhong"}, {382, "zhuang"}, {393, "zuo"},  {394, ""},    {395, "ei"},
      {400, "nou"}, {401, "jv"},    {404, "lv"},     {405, "nv"},
  };
  for (const auto& c : cases) EXPECT_EQ(PinyinSyllables[c.number - 1].text(), c.syllable) << c.number;
}

TEST(PinyinSyllables, AreShortLowerCaseAndLackFoAndGei) {
  for (const PinyinSyllable& s : PinyinSyllables) {
    ASSERT_LE(s.length, 6);
    for (const char c : s.text()) EXPECT_TRUE(c >= 'a' && c <= 'z') << s.text();
    EXPECT_NE(s.text(), "fo");
    EXPECT_NE(s.text(), "gei");
  }
}

TEST(PinyinIndex, FillsOnlyTheIdeographAreasWithTheirCounts) {
  int gbk3 = 0, gb2312 = 0, gbk4 = 0, total = 0;
  std::set<int> gb2312Empty;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const bool filled = IndexEntry(lead, trail) != 0;
      const bool inGbk3 = lead <= 0xA0 && trail != 0x7F;
      const bool inGb2312 = lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1;
      const bool inGbk4 = lead >= 0xAA && lead <= 0xFD && trail <= 0xA0 && trail != 0x7F;
      total += filled;
      if (inGbk3) gbk3 += filled;
      if (inGbk4) gbk4 += filled;
      if (inGb2312) {
        gb2312 += filled;
        if (!filled) gb2312Empty.insert(lead << 8 | trail);
      }
      if (!inGbk3 && !inGb2312 && !inGbk4) {
        EXPECT_FALSE(filled) << std::hex << lead << trail;
      }
    }
  }
  EXPECT_EQ(gbk3, 5988);
  EXPECT_EQ(gb2312, 6760);
  EXPECT_EQ(gbk4, 7997);
  EXPECT_EQ(total, 20745);
  EXPECT_EQ(gb2312Empty, (std::set<int>{0xB7F0, 0xB8F8, 0xF7D4, 0xD7FA, 0xD7FB, 0xD7FC, 0xD7FD, 0xD7FE}));
}

TEST(PinyinIndex, RefersOnlyToUsableSyllables) {
  const std::set<int> neverUsed{165, 394, 401, 402, 403};
  for (const std::uint16_t number : PinyinIndex) {
    ASSERT_LE(number, kPinyinSyllableCount);
    EXPECT_EQ(neverUsed.count(number), 0u) << number;
  }
}

TEST(PinyinIndex, TellingRows) {
  struct Case {
    std::string_view character;
    int number;
  };
  const Case cases[] = {
      {"中", 376}, {"国", 104}, {"行", 108}, {"长", 370}, {"还", 119}, {"觉", 128}, {"率", 404},
      {"俩", 167}, {"女", 405}, {"略", 177}, {"机", 92},  {"嗯", 76},  {"佛", 0},   {"给", 0},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(c.character.size(), 2u);
    EXPECT_EQ(IndexEntry(static_cast<unsigned char>(c.character[0]), static_cast<unsigned char>(c.character[1])),
              c.number);
  }
}

// --- the conversion ---------------------------------------------------------

struct ConversionCase {
  std::string text;
  std::int32_t flags;
  std::int32_t maxLength;
  std::string expected;
};

void ExpectConversions(const std::vector<ConversionCase>& cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(ConvertToPinyin(c.text, c.flags, c.maxLength), c.expected)
        << "flags " << c.flags << ", max " << c.maxLength << ", text " << c.text;
  }
}

TEST(ConvertToPinyin, ChineseCharacters) {
  ExpectConversions({
      {"中国", 0, 255, "ZG"},
      {"中国", pyFullSyllable, 255, "ZHONGGUO"},
      {"张三abc", pyMarkUnknown, 255, "ZSABC"},
      {"行长还觉率俩女", pyFullSyllable, 255, "HANGZHANGHUANJIAOLVLIANGNV"},
      {"略嗯", pyFullSyllable, 255, "LUEEN"},
      {"给", pyMarkUnknown, 255, "?"},
      {"给", 0, 255, ""},
      {"佛给", pyFullSyllable | pyMarkUnknown, 255, "??"},
      {"a丂b", pyMarkUnknown, 255, "AKB"},  // 81 40: the lowest trail byte still pairs
  });
}

TEST(ConvertToPinyin, SymbolRows) {
  ExpectConversions({
      {"ａＢ１！", 0, 255, "aB1"},
      {"ａＢ１！", pyKeepAllBytes, 255, "aB1!"},
      {"①⒛Ⅻ", 0, 255, "12012"},
      {"①⒛Ⅻ", pyFullSyllable, 255, "12012"},
      {"ⅰ⑽㈩", 0, 255, "11010"},
      {"ΩωΘ", 0, 255, "OOTH"},
      {"ΩωΘ", pyFullSyllable, 255, "OOTH"},
      // Number-form gaps read as empty text, not as a character without a reading.
      {"\xA2\xAB\xA2\xFE", pyMarkUnknown, 255, ""},
      {"\xA2\xA0", pyMarkUnknown, 255, "?"},
      {"\xA6\xB9\xA6\xE0", pyMarkUnknown, 255, "??"},
      // Punctuation, kana, Cyrillic and the pinyin letters of row 0xA8.
      {"、。あДā", pyMarkUnknown, 255, "?????"},
      {"、。あДā", 0, 255, ""},
  });
}

TEST(ConvertToPinyin, SingleBytes) {
  ExpectConversions({
      {"a-b c", 0, 255, "ABC"},
      {"a-b c", pyKeepAllBytes, 255, "A-B C"},
      {"a\xB0", 0, 255, "A"},  // lone lead byte at the end
      {"a\xB0", pyKeepAllBytes, 255, "A\xB0"},
      {"\xB0"
       "1",
       pyMarkUnknown, 255, "1"},  // lead byte before a byte below 0x40
      {"\xB0"
       "1",
       pyKeepAllBytes, 255,
       "\xB0"
       "1"},
      {"\x80\x01", 0, 255, ""},
      {"\x80\x01", pyKeepAllBytes, 255, "\x80\x01"},
      {"\xA3\x80", pyKeepAllBytes, 255, "\0"s},  // full-width form giving a zero byte
      {"\xA3\x80", 0, 255, ""},
  });
}

TEST(ConvertToPinyin, ByteFFHasNoReading) {
  ExpectConversions({
      {"\xFF\xA1", pyMarkUnknown, 255, "?"},
      {"\xB0\xFF", pyMarkUnknown, 255, "?"},
      {"\xA2\xFF", pyMarkUnknown, 255, "?"},
      {"\xFF\xFF\xFF", pyMarkUnknown | pyKeepAllBytes, 255, "?\xFF"},
      {"\xFF"
       "1",
       0, 255, "1"},
  });
}

TEST(ConvertToPinyin, FlagsAndLengthCut) {
  ExpectConversions({
      {"中国", pyFullSyllable, 3, "ZHO"},
      {"中国", pyFullSyllable, INT32_MAX, "ZHONGGUO"},
      {"中国", 0, 1, "Z"},
      {"中国", 0, 0, ""},
      {"中国", pyFullSyllable, -5, ""},
      {"中国a", -1, 255, ""},
      {"中国a", INT32_MIN, 255, ""},
      {"中国a", 8 | pyFullSyllable, 255, "ZHONGGUOA"},  // higher bits are ignored
      {"", 7, 255, ""},
  });
}

TEST(ConvertToPinyin, CutFallsOnTheLimitAtEveryLength) {
  const std::string text = "中国ABC①ΘＸ给";
  const std::string whole = ConvertToPinyin(text, 7, 255);
  ASSERT_EQ(whole, "ZHONGGUOABC1THX?");
  for (int limit = 0; limit <= static_cast<int>(whole.size()) + 1; ++limit) {
    EXPECT_EQ(ConvertToPinyin(text, 7, limit), whole.substr(0, limit)) << limit;
  }
}

// --- the zero-terminated entry ----------------------------------------------

struct FreeDeleter {
  void operator()(char* block) const { std::free(block); }
};
using Block = std::unique_ptr<char, FreeDeleter>;

TEST(GetPinyin, ReturnsATerminatedCopyOfTheConversion) {
  const Block block(GetPinyin("中国abc", pyFullSyllable, 255));
  ASSERT_NE(block, nullptr);
  EXPECT_STREQ(block.get(), "ZHONGGUOABC");
}

TEST(GetPinyin, NullAndEmptyResultsAreEmptyStrings) {
  for (const Block& block :
       {Block(GetPinyin(nullptr, 0, 255)), Block(GetPinyin("中国", -1, 255)), Block(GetPinyin("中国", 0, 0))}) {
    ASSERT_NE(block, nullptr);
    EXPECT_STREQ(block.get(), "");
  }
}

TEST(GetPinyin, AnEmbeddedZeroEndsTheCopy) {
  const Block block(
      GetPinyin("\xA3\x80"
                "a",
                pyKeepAllBytes, 255));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::memcmp(block.get(), "\0A\0", 3), 0);
}

}  // namespace
}  // namespace taliven
