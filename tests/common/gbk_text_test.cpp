#include "gbk_text.h"

#include <gtest/gtest.h>

namespace taliven {
namespace {

TEST(Trim, RemovesBlanksAndControlsOnlyAtTheEnds) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"", ""},
      {" \t\r\n\x01", ""},
      {"  12345  ", "12345"},
      {"\x1f"
       "a b\x20",
       "a b"},
      {"\x21x\x21", "\x21x\x21"},  // 33 is not blank
      {" 张三 ", "张三"},
  };
  for (const auto& c : cases) EXPECT_EQ(Trim(c.in), c.out) << c.in;
}

TEST(Trim, KeepsDoubleByteCharactersWhoseTrailByteLooksBlankFree) {
  // GBK trail bytes are never <= 0x20, but high bytes must not count as blank.
  EXPECT_EQ(Trim("\xA1\xA1"), "\xA1\xA1");
}

TEST(AsciiCase, ChangesOnlyAsciiLetters) {
  EXPECT_EQ(AsciiUpper("abz-AZ 张三x"), "ABZ-AZ 张三X");
  EXPECT_EQ(AsciiLower("ABZ-az 张三X"), "abz-az 张三x");
  // 0xC1 0xE1 must not be touched even though 0xE1 - 0x80 is 'a'.
  EXPECT_EQ(AsciiUpper("\xC1\xE1"), "\xC1\xE1");
}

}  // namespace
}  // namespace taliven
