#pragma once
// Byte-string texts in the GBK code page, the form every text takes inside the
// program's logic. Lengths, positions and cuts count bytes; casing is ASCII-only.

#include <string>
#include <string_view>

namespace taliven {

using GbkText = std::string;

// Removes leading and trailing bytes with codes up to 32 (blanks and controls).
GbkText Trim(std::string_view text);

// Changes only the bytes 'a'..'z' (resp. 'A'..'Z'); GBK double-byte
// characters and every other byte are left alone.
GbkText AsciiUpper(std::string_view text);
GbkText AsciiLower(std::string_view text);

constexpr bool IsBlankByte(unsigned char byte) { return byte <= 0x20; }

}  // namespace taliven
