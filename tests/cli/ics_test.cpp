#include "ics.h"

#include <gtest/gtest.h>

#include "cli_support.h"

namespace taliven::cli {
namespace {

std::string Folded(std::string_view line) {
  std::string out;
  AppendContentLine(out, line);
  return out;
}

TEST(IcsContentLine, FoldsAt75OctetsAndNeverInsideAUtf8Sequence) {
  const std::string x74(74, 'x');
  const std::string x75(75, 'x');
  EXPECT_EQ(Folded(x75), x75 + "\r\n");
  EXPECT_EQ(Folded(x75 + "y"), x75 + "\r\n y\r\n");
  // Continuation lines hold 74 octets after their blank.
  EXPECT_EQ(Folded(x75 + x74 + "z"), x75 + "\r\n " + x74 + "\r\n z\r\n");
  // A sequence that would straddle octet 75 moves down whole: two, three and four octets long.
  EXPECT_EQ(Folded(x74 + "é"), x74 + "\r\n é\r\n");
  EXPECT_EQ(Folded(x74 + "中"), x74 + "\r\n 中\r\n");
  EXPECT_EQ(Folded(std::string(73, 'x') + "中"), std::string(73, 'x') + "\r\n 中\r\n");
  EXPECT_EQ(Folded(std::string(72, 'x') + "😀"), std::string(72, 'x') + "\r\n 😀\r\n");
  EXPECT_EQ(Folded(std::string(72, 'x') + "中"), std::string(72, 'x') + "中\r\n");
}

TEST(IcsText, EscapesWhatRfc5545Reserves) {
  EXPECT_EQ(EscapeIcsText("A, B; C\\D\nE 奶奶"), "A\\, B\\; C\\\\D\\nE 奶奶");
}

TEST(IcsAnniversary, ReadsNameMonthAndDay) {
  const struct {
    std::string_view value;
    std::string name;
    int month;
    bool leap;
    int day;
  } cases[] = {
      {"奶奶生日=8-15", "奶奶生日", 8, false, 15},
      {"a=b=L4-10", "a=b", 4, true, 10},  // the last '=' splits
      {"x=08-01", "x", 8, false, 1},
      {"line\nbreak=12-30", "line\nbreak", 12, false, 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    const Anniversary a = ParseAnniversary(c.value);
    EXPECT_EQ(a.name, c.name);
    EXPECT_EQ(a.month, c.month);
    EXPECT_EQ(a.leap, c.leap);
    EXPECT_EQ(a.day, c.day);
  }
  for (std::string_view bad : {"8-15", "=8-15", "x=13-1", "x=0-1", "x=1-31", "x=1-0", "x=L-10", "x=L", "x=4", "x=4-",
                               "x=-4-1", "x=+4-1", "x=l4-1", "x=4-10x", "x=100-1", "\xff=1-1", "a\rb=1-1"}) {
    EXPECT_THROW(ParseAnniversary(bad), UsageError) << bad;
  }
}

}  // namespace
}  // namespace taliven::cli
