#include "edit_box_rules.h"

#include <algorithm>

namespace taliven {

std::u16string ApplyEditBoxRules(std::u16string_view text) {
  std::u16string kept(text.substr(0, kEditBoxMaxLength));
  std::transform(kept.begin(), kept.end(), kept.begin(),
                 [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; });
  return kept;
}

}  // namespace taliven
