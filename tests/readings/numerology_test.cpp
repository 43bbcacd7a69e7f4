#include "numerology.h"

#include "error_guard.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace taliven {
namespace {

struct Type {
  const char* name;
  const char* description;
};

const std::array<Type, 9> kTypes{{
    {"做事喜好凭直觉型",
     "有特强的第六灵感，性格率直无机心，深得朋辈爱戴。感情路上多采多姿。做事喜好凭个人直觉及预感做决定。"},
    {"独断独行/吸引人型",
     "为人独断独行，事事自行作主解决，鲜有求助他人。而这份独立个性，正正就是吸引异性的特质。但其实心底里，却是渴望有人可让他/她依赖。"},
    {"热情/善变梦想家型",
     "对人热情无遮掩，时常梦想可以谈一场戏剧性恋爱，亲身体会个中悲欢离合的动人经历，是个大梦想家。但对于感情却易变卦。"},
    {"自我牺牲/性格被动型",
     "惯于无条件付出，从不祈求有回报，有为了成全他人不惜牺牲自己的情操。但讲到本身的爱情观，却流于被动，往往因为内敛而错过大好姻缘。"},
    {"要面包不要爱情型",
     "责任心重，尤其对工作充满热诚，是个彻头彻尾工作狂。但往往因为过分专注职务，而忽略身边的家人及朋友，是个宁要面包不需要爱情的理性主义者。"},
    {"不善表达/疑心大型",
     "在乎身边各人对自己的评价及观感，不善表达个人情感，是个先考虑别人感受，再作出相应配合的内敛一族。对于爱侣，经常存有怀疑之心。"},
    {"大胆行事冲动派型",
     "爱好追寻刺激，有不理后果大胆行事的倾向。崇尚自由奔放的恋爱，会拼尽全力爱一场，是就算明知无结果都在所不惜的冲动派。"},
    {"高度戒备难交心型",
     "经常处于戒备状态，对任何事都没法放松处理，孤僻性情难以交朋结友。对于爱情，就更加会慎重处理。任何人必须经过你长期观察及通过连番考验，方会减除戒备与你交往。"},
    {"好奇心旺求知欲强型",
     "好奇心极度旺盛，求知欲又强，有打烂沙盘问到笃的锲而不舍精神。此外，你天生有语言天分，学习外文比一般人更易掌握。"},
}};

struct Row {
  const char* verdict;
  const char* luck;
  int type;
};

const std::array<Row, 81> kRows{{
    {"大展鸿图，信用得固，名利双收，可获成功", "吉", 1},      // 0
    {"根基不固，摇摇欲坠，一盛一衰，劳而无获", "凶", 2},      // 1
    {"根深蒂固，蒸蒸日上，如意吉祥，百事顺遂", "吉", 3},      // 2
    {"前途坎坷，苦难折磨，非有毅力，难望成功", "凶", 4},      // 3
    {"阴阳和合，生意兴隆，名利双收，后福重重", "吉", 5},      // 4
    {"万宝集门，天降幸运，立志奋发，得成大功", "吉", 6},      // 5
    {"独营生意，和气吉祥，排除万难，必获成功", "吉", 7},      // 6
    {"努力发达，贯彻志望，不忘进退，可望成功", "吉", 8},      // 7
    {"虽抱奇才，有才无命，独营无力，财力难望", "凶", 9},      // 8
    {"乌云遮月，暗淡无光，空费心力，徒劳无功", "凶", 1},      // 9
    {"草木逢春，枝叶沾露，稳健着实，必得人望", "吉", 2},      // 10
    {"薄弱无力，孤立无援，外祥内苦，谋事难成", "凶", 3},      // 11
    {"天赋吉运，能得人望，善用智慧，必获成功", "吉", 4},      // 12
    {"忍得若难，必有后福，是成是败，惟靠紧毅", "凶", 5},      // 13
    {"谦恭做事，外得人和，大事成就，一门兴隆", "吉", 6},      // 14
    {"能获众望，成就大业，名利双收，盟主四方", "吉", 7},      // 15
    {"排除万难，有贵人助，把握时机，可得成功", "吉", 8},      // 16
    {"经商做事，顺利昌隆，如能慎始，百事亨通", "吉", 9},      // 17
    {"成功虽早，慎防亏空，内外不合，障碍重重", "凶", 1},      // 18
    {"智商志大，历尽艰难，焦心忧劳，进得两难", "凶", 2},      // 19
    {"先历困苦，后得幸福，霜雪梅花，春来怒放", "吉", 3},      // 20
    {"秋草逢霜，怀才不遇，忧愁怨苦，事不如意", "凶", 4},      // 21
    {"旭日升天，名显四方，渐次进展，终成大业", "吉", 5},      // 22
    {"绵绣前程，须靠自力，多用智谋，能奏大功", "吉", 6},      // 23
    {"天时地利，只欠人和，讲信修睦，即可成功", "吉", 7},      // 24
    {"波澜起伏，千变万化，凌架万难，必可成功", "凶", 9},      // 25
    {"一成一败，一盛一衰，惟靠谨慎，可守成功", "凶带吉", 1},  // 26
    {"鱼临旱地，难逃恶运，此数大凶，不如更名", "凶", 9},      // 27
    {"如龙得云，青云直上，智谋奋进，才略奏功", "吉", 1},      // 28
    {"吉凶参半，得失相伴，投机取巧，吉凶无常", "凶", 2},      // 29
    {"此数大吉，名利双收，渐进向上，大业成就", "吉", 3},      // 30
    {"池中之龙，风云际会，一跃上天，成功可望", "吉", 4},      // 31
    {"意气用事，人和必失，如能慎始，必可昌隆", "吉", 5},      // 32
    {"灾难不绝，难望成功，此数大凶，不如更名", "凶", 6},      // 33
    {"中吉之数，进退保守，生意安稳，成就普通", "吉", 7},      // 34
    {"波澜得叠，常陷穷困，动不如静，有才无命", "凶", 9},      // 35
    {"逢凶化吉，吉人天相，风调雨顺，生意兴隆", "吉", 1},      // 36
    {"名虽可得，利则难获，艺界发展，可望成功", "凶带吉", 2},  // 37
    {"云开见月，虽有劳碌，光明坦途，指日可望", "吉", 3},      // 38
    {"一成一衰，沉浮不定，知难而退，自获天佑", "吉带凶", 4},  // 39
    {"天赋吉运，德望兼备，继续努力，前途无限", "吉", 5},      // 40
    {"事业不专，十九不成，专心进取，可望成功", "吉带凶", 6},  // 41
    {"雨夜之花，外祥内苦，忍耐自重，转凶为吉", "吉带凶", 7},  // 42
    {"虽用心计，事难遂愿，贪功冒进，必招失败", "凶", 8},      // 43
    {"杨柳遇春，绿叶发枝，冲破难关，一举成名", "吉", 3},      // 44
    {"坎坷不平，艰难重重，若无耐心，难望有成", "凶", 4},      // 45
    {"有贵人助，可成大业，虽遇不幸，浮沉不定", "吉", 5},      // 46
    {"美化丰实，鹤立鸡群，名利俱全，繁荣富贵", "吉", 6},      // 47
    {"遇吉则吉，遇凶则凶，惟靠谨慎，逢凶化吉", "凶", 7},      // 48
    {"吉凶互见，一成一败，凶中有吉，吉中有凶", "吉带凶", 8},  // 49
    {"一盛一衰，浮沉不常，自重自处，可保平安", "吉带凶", 9},  // 50
    {"草木逢春，雨过天晴，渡过难关，即获得成功", "吉", 1},    // 51
    {"盛衰参半，外祥内苦，先吉后凶，先凶后吉", "吉带凶", 2},  // 52
    {"虽倾全力，难望成功，此数大凶，最好改名", "凶", 3},      // 53
    {"外观昌隆，内隐祸患，克服难关，开出泰运", "吉带凶", 5},  // 54
    {"事与愿违，终难成功，欲速不达，有始无终", "凶", 6},      // 55
    {"虽有困难，时来运转，旷野枯草，春来花开", "吉", 7},      // 56
    {"半凶半吉，浮沉多端，始凶终吉，能保成功", "凶带吉", 8},  // 57
    {"遇事猜疑，难望成事，大刀阔斧，始可有成", "凶", 9},      // 58
    {"黑暗无光，心迷意乱，出尔反尔，难定方针", "凶", 1},      // 59
    {"运遮半月，内隐风波，应有谨慎，始保平安", "吉带凶", 2},  // 60
    {"烦闷懊恼，事业难展，自防灾祸，始免困境", "凶", 3},      // 61
    {"万物化育，繁荣之象，专心一意，必能成功", "吉", 4},      // 62
    {"见异思迁，十九不成，徒劳无功，不如更名", "凶", 5},      // 63
    {"吉运自来，能享盛名，把握时机，必获成功", "吉", 6},      // 64
    {"黑夜温长，进退维谷，内外不和，信用缺乏", "凶", 7},      // 65
    {"独营事业，事事如意，功成名就，富贵自来", "吉", 9},      // 66
    {"思虎虑周祥，计书力行，不失先机，可望成功", "吉", 6},    // 67
    {"动摇不安，常陷逆境，不得时运，难得利润", "凶", 7},      // 68
    {"惨淡经营，难免贫困，此数不吉，最好改名", "凶", 8},      // 69
    {"吉凶参半，惟赖勇气，贯彻力行，始可成功", "吉带凶", 9},  // 70
    {"利害混集，凶多吉少，得而复失，难以安顺", "凶", 1},      // 71
    {"安乐自来，自然吉祥，力行不懈，终必成功", "吉", 2},      // 72
    {"利不及费，坐食山空，如无章法，难望成功", "凶", 2},      // 73
    {"吉中带凶，欲速不达，进不如守，可保安祥", "吉带凶", 3},  // 74
    {"此数大凶，破产之象，宜速改名，以避厄运", "凶", 4},      // 75
    {"先苦后甘，先甜后苦，如能守成，不致失败", "吉带凶", 5},  // 76
    {"有得有失，华而不实，须防劫财，始保安顺", "吉带凶", 6},  // 77
    {"如走夜路，前途无光，希望不大，劳而无功", "凶", 7},      // 78
    {"得而复失，枉费心机，守成无贪，可保安稳", "吉带凶", 9},  // 79
    {"最极之数，还本归元，能得繁荣，发达成功", "吉", 1},      // 80
}};

std::string Details(int type) {
  const Type& t = kTypes[static_cast<size_t>(type - 1)];
  return std::string("主人性格类型：[") + t.name + "]，其具体表现为：" + t.description;
}

std::string Entry(const Row& row) { return std::string(row.verdict) + "|" + row.luck + "|" + Details(row.type); }

TEST(NumberReadings, EveryEntryIsExact) {
  for (size_t r = 0; r < kRows.size(); ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(NumberReadings[r], Entry(kRows[r]));
    const NumberReadingLines lines = ReadNumber(std::to_string(r));
    EXPECT_EQ(lines.verdict, kRows[r].verdict);
    EXPECT_EQ(lines.luck, kRows[r].luck);
    EXPECT_EQ(lines.details, Details(kRows[r].type));
  }
}

TEST(NumberReadings, FirstEntryReadsAsAWhole) {
  EXPECT_EQ(NumberReadings[0],
            "大展鸿图，信用得固，名利双收，可获成功|吉|主人性格类型：[做事喜好凭直觉型]，其具体表现为："
            "有特强的第六灵感，性格率直无机心，深得朋辈爱戴。感情路上多采多姿。做事喜好凭个人直觉及预感做决定。");
}

TEST(GetNumberReading, ReducesTheWholeNumberModulo81) {
  const struct {
    const char* number;
    size_t entry;
  } cases[] = {
      {"0", 0},
      {"80", 80},
      {"81", 0},
      {"162", 0},
      {"10000", 37},
      {"12345", 33},
      {"123456789", 72},
      {"0012345", 33},
      {"-81", 0},
      {"-0", 0},
      {"+12345", 33},
      {"999999999999999999", 0},
      {"9223372036854775807", 25},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(GetNumberReading(c.number), Entry(kRows[c.entry]));
  }
}

TEST(GetNumberReading, NegativeRemaindersGiveTheDefaultText) {
  for (const char* number : {"-5", "-1", "-80", "-82", "-9223372036854775808"}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(GetNumberReading(number), "对不起,此号不在分解之类。");
  }
}

TEST(GetNumberReading, RejectsWhatIsNotASigned64BitInteger) {
  for (const char* text : {"",
                           "abc",
                           "-",
                           "+",
                           "--5",
                           "+-5",
                           "-+5",
                           "12a",
                           "a12",
                           "1 2",
                           " 12",
                           "12 ",
                           "1.0",
                           "1e3",
                           "0x10",
                           "$10",
                           "一二三",
                           "9223372036854775808",
                           "-9223372036854775809",
                           "99999999999999999999999999"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(GetNumberReading(text), IntegerConversionError);
  }
}

TEST(GetNumberReading, ConversionErrorKeepsTheTextAndQuotesItInUtf8) {
  const struct {
    const char* text;
    std::string sentence;
    const char* details;
  } cases[] = {
      {"abc", Utf8(u8"无法测算“abc”：QQ号码必须是一个整数。"), "'abc' is not a valid integer value"},
      // GBK is no text of a message: its bytes are quoted as such.
      {"1一", Utf8(u8"无法测算“1\\xD2\\xBB”：QQ号码必须是一个整数。"), "'1\\xD2\\xBB' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    try {
      GetNumberReading(c.text);
      ADD_FAILURE() << "no error for " << c.details;
    } catch (const IntegerConversionError& e) {
      const ErrorText text = SplitErrorMessage(e.what());
      EXPECT_EQ(text.sentence, c.sentence);
      EXPECT_EQ(text.details, c.details);
      EXPECT_EQ(e.text(), c.text);
    }
  }
  // A window quotes the text as the user typed it, which GBK may not hold.
  const IntegerConversionError shown("1\xAA\xA1", Utf8(u8"1😀"));
  const std::string expected = Utf8(u8"'1😀' is not a valid integer value");
  EXPECT_EQ(SplitErrorMessage(shown.what()).details, expected);
}

TEST(SplitNumberReading, CutsAtTheFirstTwoBars) {
  const struct {
    const char* entry;
    const char* verdict;
    const char* luck;
    const char* details;
  } cases[] = {
      {"v|l|d", "v", "l", "d"},
      {"v|l|d|e", "v", "l", "d|e"},
      {"|l|d", "", "l", "d"},
      {"v|d", "v", "", "d"},
      {"对不起,此号不在分解之类。", "", "", "对不起,此号不在分解之类。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    const NumberReadingLines lines = SplitNumberReading("42", c.entry);
    EXPECT_EQ(lines.number, "42");
    EXPECT_EQ(lines.verdict, c.verdict);
    EXPECT_EQ(lines.luck, c.luck);
    EXPECT_EQ(lines.details, c.details);
  }
}

TEST(ReadNumber, ShowsTheNumberAsTyped) {
  EXPECT_EQ(ReadNumber("0012345").number, "0012345");
  const NumberReadingLines negative = ReadNumber("-5");
  EXPECT_EQ(negative.number, "-5");
  EXPECT_EQ(negative.details, "对不起,此号不在分解之类。");
}

}  // namespace
}  // namespace taliven
