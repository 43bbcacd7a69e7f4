// Random bytes, flags and limits into both entries of the pinyin conversion.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "pinyin.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

std::int32_t TakeInt32(const std::uint8_t*& data, std::size_t& size) {
  std::uint32_t value = 0;
  const std::size_t count = size < 4 ? size : 4;
  std::memcpy(&value, data, count);
  data += count;
  size -= count;
  return static_cast<std::int32_t>(value);
}

bool IsLetterDigitOrMark(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '?';
}

void CheckConversion(const std::string& text, std::int32_t flags, std::int32_t maxLength) {
  const taliven::GbkText result = taliven::ConvertToPinyin(text, flags, maxLength);
  Require(result.size() <= static_cast<std::size_t>(maxLength < 0 ? 0 : maxLength));
  if (flags < 0) Require(result.empty());
  if (flags >= 0 && (flags & taliven::pyKeepAllBytes) == 0) {
    for (const char c : result) Require(IsLetterDigitOrMark(c));
  }

  // The zero-terminated entry reads up to the first zero and copies the result.
  const std::string terminated = text.substr(0, text.find('\0'));
  const taliven::GbkText expected = taliven::ConvertToPinyin(terminated, flags, maxLength);
  char* block = GetPinyin(terminated.c_str(), flags, maxLength);
  Require(block != nullptr);
  Require(std::memcmp(block, expected.c_str(), expected.size() + 1) == 0);
  std::free(block);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::int32_t flags = TakeInt32(data, size);
  const std::int32_t maxLength = TakeInt32(data, size);
  const std::string text(reinterpret_cast<const char*>(data), size);

  CheckConversion(text, flags, maxLength);
  // The net-name reading's call, and a small limit that cuts inside pieces.
  CheckConversion(text, taliven::pyMarkUnknown, 255);
  CheckConversion(text, flags & 7, static_cast<std::int32_t>(static_cast<std::uint32_t>(maxLength) % 64));
  return 0;
}
