#include "letter_traits.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "pinyin.h"

namespace taliven {

const std::array<std::string_view, 26> LetterTraits{
    "好奇心强，专一",
    "老实，沉默",
    "可爱，较明显的自恋",
    "温柔，乖巧",
    "会拍马屁，攀关系",
    " 有抱负，志气高",
    "大丈夫主义者",
    " 自立，自强，可依靠 ",
    " 有点懒惰",
    " 煽情高手",
    "古怪，求新",
    "圆滑",
    "反复无常，喜欢模仿神秘人物举动的小孩子性格，但是常常被宠爱",
    "不贪图安逸，能想到别人想不到的东西",
    "勤劳肯干，活跃",
    "认为朋友和恋人是最重要的，是他们的特点",
    "超级赶时髦者，无敌扫旧派",
    "固执，略有才气",
    "心胸宽大，有深藏不露的自恋",
    "热爱青春，喜欢活力",
    "不耻下问",
    "好静，有点表里不一",
    "比较糊涂，容易感情用事",
    "有恒心，害怕做重复的事情，哪怕是别人重复他做过的事",
    "乐天派呀！非同一般的乐天",
    "老实，想问题容易兜圈子",
};

namespace {

// Initials, "?" for a character without a reading, letters and digits only.
constexpr int kNetNameFlags = pyMarkUnknown;
constexpr int kNetNameMaxLength = 255;

struct FreeDeleter {
  void operator()(char* block) const { std::free(block); }
};

}  // namespace

GbkText NetNameLetters(std::string_view name) {
  const std::string terminated(name);
  const std::unique_ptr<char, FreeDeleter> block(GetPinyin(terminated.c_str(), kNetNameFlags, kNetNameMaxLength));
  return DigitsToLetters(block.get());
}

GbkText GetNetNameTrait(std::string_view name) {
  if (name.empty()) return {};
  const GbkText letters = NetNameLetters(name);
  if (letters.empty()) return {};
  return GetLetterTrait(AsciiLower(letters.substr(letters.size() - 1)));
}

GbkText DigitsToLetters(std::string_view text) {
  GbkText result(text);
  // Byte by byte is safe: GBK trail bytes start at 0x40, above every digit.
  for (char& c : result) {
    if (c == '0') {
      c = 'J';
    } else if (c >= '1' && c <= '9') {
      c = static_cast<char>('A' + (c - '1'));
    }
  }
  return result;
}

GbkText GetLetterTrait(std::string_view letter) {
  if (letter.size() != 1 || letter[0] < 'a' || letter[0] > 'z') return {};
  return GbkText(LetterTraits[letter[0] - 'a']);
}

NetNameReading ReadNetName(std::string_view trimmedName) {
  NetNameReading reading{"你的网名：" + GbkText(trimmedName), {}};
  try {
    reading.line2 = "你的性格：" + Trim(GetNetNameTrait(trimmedName));
  } catch (...) {  // the reading turns every failure into its fixed message
    reading.line2 = "请重新输入网名，请不要输入特殊字符！";
  }
  return reading;
}

GbkText NetNamePrompt() { return "请输入你的网名！"; }

}  // namespace taliven
