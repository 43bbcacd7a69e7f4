#pragma once
// The browser start page that the exit confirmation offers to change. An
// absent value reads as the empty text; the text last written reads back.

#include <stdexcept>
#include <string_view>

#include "gbk_text.h"

namespace taliven {

// A start page that cannot be written, or a stored value that is not a text.
class StartPageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The stored start page; empty when there is none or the store cannot be read.
GbkText ReadStartPage();

// Stores `url` as the start page, leaving everything else in the store as it was.
void WriteStartPage(std::string_view url);

}  // namespace taliven
