#pragma once
// Conversion between the logic's GBK byte strings and the toolkit's UTF-16
// strings. Used only at the boundary: window texts, the browser, the terminal.

#include <QString>
#include <string_view>

#include "gbk_text.h"

namespace taliven {

// Decodes GBK bytes; a byte sequence that is not GBK becomes U+FFFD.
QString FromGbk(std::string_view text);

// Encodes to GBK. A character that GBK cannot represent becomes the first
// position of GBK's user-defined area (AA A1): a double-byte character that
// no table of the program gives a reading or a meaning.
GbkText ToGbk(const QString& text);

inline constexpr std::string_view kUnrepresentableGbk = "\xAA\xA1";

}  // namespace taliven
