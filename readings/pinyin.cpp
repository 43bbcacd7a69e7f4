#include "pinyin.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace taliven {
namespace {

// The longest piece one character can add: a whole syllable.
constexpr std::size_t kLongestPiece = 6;

constexpr bool IsAsciiAlnum(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

constexpr char UpperByte(unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 0x20 : c); }

// The most bytes a text of `size` bytes can turn into: one per single byte,
// and per two-byte character at most a syllable (or "10", "TH" in initials mode).
std::size_t ResultBound(std::size_t size, std::int32_t flags) {
  return size * ((flags & pyFullSyllable) != 0 ? kLongestPiece / 2 : 1);
}

// Writes the pieces into a buffer sized in advance, so the hot loop never allocates.
class PieceWriter {
 public:
  PieceWriter(char* out, std::int32_t flags)
      : out_(out),
        fullSyllable_((flags & pyFullSyllable) != 0),
        markUnknown_((flags & pyMarkUnknown) != 0),
        keepAllBytes_((flags & pyKeepAllBytes) != 0) {}

  const char* position() const { return out_; }

  void SingleByte(unsigned char byte) {
    if (keepAllBytes_ || IsAsciiAlnum(byte)) *out_++ = UpperByte(byte);
  }

  void DoubleByte(unsigned char lead, unsigned char trail) {
    switch (lead) {
      case 0xA2:
        if (trail >= 0xA1 && trail <= 0xFE) return Append(NumberFormReadings[trail - 0xA1]);
        return NoReading();
      case 0xA3: {  // full-width ASCII, kept in its own case
        const auto byte = static_cast<unsigned char>(trail - 0x80);
        if (keepAllBytes_ || IsAsciiAlnum(byte)) *out_++ = static_cast<char>(byte);
        return;
      }
      case 0xA6:
        if (trail >= 0xA1 && trail <= 0xB8) return AppendUpper(GreekLetterReadings[trail - 0xA1]);
        if (trail >= 0xC1 && trail <= 0xD8) return AppendUpper(GreekLetterReadings[trail - 0xC1]);
        return NoReading();
      default: return Syllable(SyllableNumber(lead, trail));
    }
  }

 private:
  // 0xFF is never a GBK byte: such a pair lies outside the grid and has no reading.
  static unsigned SyllableNumber(unsigned char lead, unsigned char trail) {
    if (lead == 0xFF || trail == 0xFF) return 0;
    return PinyinIndex[(lead - 0x81) * kPinyinIndexColumns + (trail - 0x40)];
  }

  void Syllable(unsigned number) {
    if (number == 0) return NoReading();
    const PinyinSyllable& syllable = PinyinSyllables[number - 1];
    if (!fullSyllable_) {
      *out_++ = UpperByte(static_cast<unsigned char>(syllable.letters[0]));
      return;
    }
    AppendUpper(syllable.text());
  }

  void Append(std::string_view text) {
    std::memcpy(out_, text.data(), text.size());
    out_ += text.size();
  }

  void AppendUpper(std::string_view text) {
    for (const char c : text) *out_++ = UpperByte(static_cast<unsigned char>(c));
  }

  void NoReading() {
    if (markUnknown_) *out_++ = '?';
  }

  char* out_;
  const bool fullSyllable_;
  const bool markUnknown_;
  const bool keepAllBytes_;
};

}  // namespace

GbkText ConvertToPinyin(std::string_view text, std::int32_t flags, std::int32_t maxLength) {
  if (flags < 0 || maxLength <= 0) return {};
  const auto limit = static_cast<std::size_t>(maxLength);

  // Walking stops once the limit is reached, so the last piece may run over
  // it by less than one piece; the cut below removes that.
  GbkText result(std::min(ResultBound(text.size(), flags), limit + kLongestPiece - 1), '\0');
  PieceWriter writer(result.data(), flags);
  const char* const stop = result.data() + std::min(limit, result.size());

  const auto* byte = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = byte + text.size();
  while (byte < end && writer.position() < stop) {
    const unsigned char lead = byte[0];
    const unsigned char trail = byte + 1 < end ? byte[1] : 0;
    if (lead < 0x81 || trail < 0x40) {
      writer.SingleByte(lead);
      byte += 1;
    } else {
      writer.DoubleByte(lead, trail);
      byte += 2;
    }
  }
  result.resize(std::min(static_cast<std::size_t>(writer.position() - result.data()), limit));
  return result;
}

}  // namespace taliven

extern "C" char* GetPinyin(const char* text, int flags, int maxLength) {
  const taliven::GbkText result =
      taliven::ConvertToPinyin(text != nullptr ? std::string_view(text) : std::string_view(), flags, maxLength);
  auto* copy = static_cast<char*>(std::malloc(result.size() + 1));
  if (copy == nullptr) throw std::bad_alloc();
  std::memcpy(copy, result.c_str(), result.size() + 1);
  return copy;
}
